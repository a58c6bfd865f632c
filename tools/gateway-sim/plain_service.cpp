#include "plain_service.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

#include "wire_form.h"

namespace valo::sim {
namespace {

Json lookup(SimState& state, const char* section, const std::string& name) {
  std::lock_guard<std::mutex> lock(state.mutex);
  auto part = state.scenario.find(section);
  if (part == state.scenario.end() || !part->is_object()) return nullptr;
  auto item = part->find(name);
  return item == part->end() ? Json(nullptr) : *item;
}

Json baseEntry(SimState& state, const httplib::Request& request) {
  std::lock_guard<std::mutex> lock(state.mutex);
  return {{"seq", state.nextSeq++},
          {"listener", "http"},
          {"method", request.method},
          {"path", request.path}};
}

std::string downloadContent(const Json& item) {
  if (item.contains("text")) return item.value("text", "");
  if (item.contains("file")) {
    std::ifstream in(item.value("file", ""), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  size_t size = item.value("size", 0);
  std::string content(size, '\0');
  for (size_t i = 0; i < size; ++i) content[i] = static_cast<char>('a' + i % 26);
  return content;
}

void serveEcho(SimState& state, Journal& journal, const httplib::Request& request,
               httplib::Response& response, const std::string& which) {
  Json entry = baseEntry(state, request);
  entry["service"] = "echo" + which;
  Json config = lookup(state, "echo", which);
  int status = config.is_object() ? config.value("status", 200) : 200;
  std::string body = config.is_object() && config.contains("body") ? config.value("body", "")
                                                                   : request.remote_addr + "\r\n";
  entry["status"] = status;
  entry["reply"] = body;
  journal.write(entry);
  response.status = status;
  response.set_content(body, "text/plain");
}

void serveTemplate(SimState& state, Journal& journal, const httplib::Request& request,
                   httplib::Response& response) {
  Json entry = baseEntry(state, request);
  entry["service"] = "template";
  entry["contentType"] = request.get_header_value("Content-Type");
  entry["body"] = request.body;
  if (request.method == "POST") {
    FormParse form = parseForm(request.body);
    Json params = Json::array();
    for (const FormField& field : form.fields) {
      params.push_back({{"name", field.key}, {"value", field.value}});
    }
    entry["params"] = params;
    entry["violations"] = form.violations;
  }
  std::string text;
  {
    std::lock_guard<std::mutex> lock(state.mutex);
    text = state.scenario.value("template", "");
  }
  entry["status"] = 200;
  journal.write(entry);
  response.set_content(text, "text/html; charset=UTF-8");
}

void serveDownload(SimState& state, Journal& journal, const httplib::Request& request,
                   httplib::Response& response) {
  Json entry = baseEntry(state, request);
  const std::string name = request.matches[1];
  entry["service"] = "download";
  entry["name"] = name;
  Json item = lookup(state, "downloads", name);
  if (!item.is_object()) {
    entry["status"] = 404;
    journal.write(entry);
    response.status = 404;
    response.set_content("no such download", "text/plain");
    return;
  }
  int status = item.value("status", 200);
  entry["status"] = status;
  entry["download"] = item;
  if (status != 200) {
    journal.write(entry);
    response.status = status;
    response.set_content("download refused", "text/plain");
    return;
  }
  auto content = std::make_shared<std::string>(downloadContent(item));
  entry["length"] = content->size();
  journal.write(entry);

  const char* type = "application/octet-stream";
  if (item.value("noContentLength", false)) {
    response.set_chunked_content_provider(type, [content](size_t offset, httplib::DataSink& sink) {
      if (offset < content->size()) {
        size_t n = std::min<size_t>(1000, content->size() - offset);
        sink.write(content->data() + offset, n);
      } else {
        sink.done();
      }
      return true;
    });
    return;
  }
  size_t limit =
      item.contains("truncateAt") ? item.value("truncateAt", size_t{0}) : content->size();
  response.set_content_provider(
      content->size(), type,
      [content, limit](size_t offset, size_t length, httplib::DataSink& sink) {
        if (offset >= limit) return false;  // closes the connection short of the length
        size_t n = std::min({length, limit - offset, size_t{1000}});
        sink.write(content->data() + offset, n);
        return true;
      });
}

}  // namespace

void installPlainRoutes(httplib::Server& server, SimState& state, Journal& journal) {
  server.Get(R"(/echo/([12]))", [&](const httplib::Request& request, httplib::Response& response) {
    serveEcho(state, journal, request, response, request.matches[1]);
  });
  auto templateHandler = [&](const httplib::Request& request, httplib::Response& response) {
    serveTemplate(state, journal, request, response);
  };
  server.Get("/template", templateHandler);
  server.Post("/template", templateHandler);
  server.Get(R"(/download/([A-Za-z0-9._-]+))",
             [&](const httplib::Request& request, httplib::Response& response) {
               serveDownload(state, journal, request, response);
             });
}

}  // namespace valo::sim
