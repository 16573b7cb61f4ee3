// zxsample: what the sample run of the main program shows, read from the machine root.
//   zxsample offers CATALOGUE        the devices the catalogue offers newer drivers for
//   zxsample forget                  removes the record of the last scan (before a start)
//   zxsample job PROGRAM PARAMETERS  writes the product's scan job for the present minute
//   zxsample jobrun                  what the job file records of the job's run (it must have
//                                    run and ended with exit code 0)
//   zxsample stopservice             stops the Task Scheduler's service (the main program
//                                    starts it when it finds it stopped)
//   zxsample autofix PNG COUNT       follows a scheduled auto-fix run of the main program: its
//                                    scan (which must find COUNT updates), the install run,
//                                    a picture of the main window, then closes it
//   zxsample rescan CATALOGUE        follows a scheduled scan: the offered drivers read back
//                                    once it has ended (each must be installed), then closes
// Lines go to standard output; a failure says what failed on standard error (exit code 1).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "mainrun.h"
#include "offers.h"
#include "schedjob.h"
#include "text.h"
#include "zx/pathmap.h"

namespace {

using zxsample::Utf8;

constexpr unsigned kWindowWaitMs = 30000, kScanWaitMs = 120000, kInstallWaitMs = 300000, kCloseWaitMs = 30000;

int Fail(const std::string& what) {
  std::fprintf(stderr, "zxsample: %s\n", what.c_str());
  return 1;
}

bool Offers(const char* catalogue, std::vector<zxsample::Offer>& offers) {
  return zxsample::ReadOffers(zx::path::HostToWindows(catalogue), offers);
}

int ListOffers(const char* catalogue) {
  std::vector<zxsample::Offer> offers;
  if (!Offers(catalogue, offers)) return Fail(std::string("cannot read the devices or ") + catalogue);
  for (const zxsample::Offer& offer : offers)
    if (offer.newer)
      std::printf("  %s: installed %s, offered %s\n", Utf8(offer.device.name).c_str(),
                  Utf8(offer.device.version).c_str(), Utf8(offer.offered).c_str());
  return 0;
}

// Waits for the main window and the end of its scan, and prints the scan's counts; the number
// of updates found, or -1 after printing why it failed.
int FollowScan(HWND& window, const char* scan) {
  window = zxsample::WaitForMainWindow(kWindowWaitMs);
  const char* failure = window == nullptr                           ? "the main window did not appear"
                        : !zxsample::WaitForScanRecord(kScanWaitMs) ? "the scan did not end"
                                                                     : nullptr;
  if (failure != nullptr) {
    Fail(failure);
    return -1;
  }
  const std::u16string total = zxsample::LastScanValue(u"TotalDrivers");
  const std::u16string outOfDate = zxsample::LastScanValue(u"OutOfDate");
  const int found = zxsample::CountOf(outOfDate);
  if (found < 0) {
    Fail("the scan got no answer from the web service (" + Utf8(outOfDate) + ")");
    return -1;
  }
  std::printf("%s counted %s, %s out of date.\n", scan, Utf8(total).c_str(), Utf8(outOfDate).c_str());
  return found;
}

int WriteJob(const char* program, const char* parameters) {
  std::string reason;
  if (!zxsample::WriteScanJob(zx::path::HostToWindows(program), zxsample::Utf16(parameters), reason))
    return Fail(reason);
  return 0;
}

int ReportJobRun() {
  zxsample::JobRun run;
  if (!zxsample::ReadJobRun(run)) return Fail("cannot read the scan job");
  if (!run.ran) return Fail("the Task Scheduler did not run the scan job");
  std::printf("The Task Scheduler started \"%s\"%s at %s; it ended with exit code %lu.\n",
              Utf8(run.application).c_str(), Utf8(run.parameters).c_str(), run.time.c_str(), run.exitCode);
  return run.exitCode == 0 ? 0 : Fail("the scheduled run ended with exit code " + std::to_string(run.exitCode));
}

int Close(HWND window) { return zxsample::CloseMainWindow(window, kCloseWaitMs) ? 0 : Fail("the main window did not close"); }

int AutoFix(const char* picture, int expected) {
  HWND window = nullptr;
  const int found = FollowScan(window, "The scan");
  if (found < 0) return 1;
  if (found != expected)
    return Fail("the scan found " + std::to_string(found) + " updates; the catalogue offers " +
                std::to_string(expected));
  if (found > 0 && !zxsample::WaitForInstallRun(window, kInstallWaitMs))
    return Fail("the download-and-install run did not end");
  if (!zxsample::SaveWindowPicture(window, picture)) return Fail(std::string("cannot save ") + picture);
  return Close(window);
}

int Rescan(const char* catalogue) {
  HWND window = nullptr;
  if (FollowScan(window, "The fresh scan") < 0) return 1;
  std::vector<zxsample::Offer> offers;
  if (!Offers(catalogue, offers)) return Fail(std::string("cannot read the devices or ") + catalogue);
  int missing = 0;
  for (const zxsample::Offer& offer : offers) {
    if (zxsample::CompareVersions(offer.offered, offer.device.version) == 0) {
      std::printf("  %s: now %s\n", Utf8(offer.device.name).c_str(), Utf8(offer.device.version).c_str());
    } else if (offer.newer) {
      std::printf("  %s: still %s, not %s\n", Utf8(offer.device.name).c_str(), Utf8(offer.device.version).c_str(),
                  Utf8(offer.offered).c_str());
      ++missing;
    }
  }
  const int closed = Close(window);
  if (missing > 0) return Fail(std::to_string(missing) + " offered drivers were not installed");
  return closed;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view command = argc > 1 ? argv[1] : "";
  if (command == "offers" && argc == 3) return ListOffers(argv[2]);
  if (command == "forget" && argc == 2) return zxsample::ForgetLastScan(), 0;
  if (command == "job" && argc == 4) return WriteJob(argv[2], argv[3]);
  if (command == "jobrun" && argc == 2) return ReportJobRun();
  if (command == "stopservice" && argc == 2)
    return zxsample::StopTaskSchedulerService() ? 0 : Fail("the Task Scheduler's service did not stop");
  if (command == "autofix" && argc == 4) return AutoFix(argv[2], std::atoi(argv[3]));
  if (command == "rescan" && argc == 3) return Rescan(argv[2]);
  std::fprintf(stderr, "usage: zxsample offers CATALOGUE | forget | job PROGRAM PARAMETERS | jobrun | stopservice |"
                       " autofix PNG COUNT | rescan CATALOGUE\n");
  return 2;
}
