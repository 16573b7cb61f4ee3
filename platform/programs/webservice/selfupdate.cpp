// The self-update files of the catalogue folder, served at the addresses the shared library's
// update check asks: "LatestVersion.ini" for the program version query, "dbUpdate.ini" and
// "Completedatabase.zip" for the database update (also at its lower-cased address, which the
// update checker asks: the maker's server does not tell letter case apart in its paths). A file
// the folder does not hold is 404.
#include <httplib.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace zx::webservice {

void MountSelfUpdateFiles(httplib::Server& server, const std::string& folder,
                          const std::function<void(const std::string&)>& log) {
  const struct {
    const char* pattern;
    const char* file;
    const char* type;
  } kRoutes[] = {
      {R"((?:http://[^/]+)?/qvxupdates/update\.aspx)", "LatestVersion.ini", "text/plain"},
      {R"((?:http://[^/]+)?/quarnelupdates/CompleteDatabase/getdatabase\.asp)", "dbUpdate.ini", "text/plain"},
      {R"((?:http://[^/]+)?/quarnelupdates/CompleteDatabase/Completedatabase\.zip)", "Completedatabase.zip",
       "application/zip"},
      {R"((?:http://[^/]+)?/quarnelupdates/completedatabase/completedatabase\.zip)", "Completedatabase.zip",
       "application/zip"},
  };
  for (const auto& route : kRoutes) {
    const std::string path = folder.empty() ? std::string() : folder + "/" + route.file;
    const std::string type = route.type;
    server.Get(route.pattern, [path, type, log](const httplib::Request& request, httplib::Response& response) {
      log("GET " + request.path + " " + request.version);
      std::ifstream in(path, std::ios::binary);
      if (path.empty() || !in) {
        response.status = 404;
        return;
      }
      std::ostringstream content;
      content << in.rdbuf();
      response.set_content(content.str(), type.c_str());
    });
  }
}

}  // namespace zx::webservice
