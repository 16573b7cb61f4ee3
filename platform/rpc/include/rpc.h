// The RPC runtime as one include: bindings and the server (rpcdce.h), and the message
// calls that interface stubs are written on (rpcdcep.h).
#pragma once
#include "rpcdce.h"
#include "rpcdcep.h"
