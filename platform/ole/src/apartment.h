// Whether the calling thread has initialised COM (shared by the COM calls of this component).
#pragma once

namespace zx::com {
bool ThreadHasCom();
}
