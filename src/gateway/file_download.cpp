#include "gateway/file_download.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "core/result_codes.h"
#include "gateway/curl_handle.h"

namespace valo {
namespace {

constexpr char kTitle[] = "檔案下載";
constexpr size_t kChunkSize = 1024;
constexpr int kMinPercentStep = 10;
constexpr curl_off_t kUnknownLengthStep = 256 * 1024;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Receives the body: checks the status before the file is created, writes 1024-byte
// chunks (the unit the progress rule counts in) and updates the progress window.
class DownloadSink {
 public:
  DownloadSink(platform::Ui& ui, CURL* curl, const std::string& path)
      : ui_(ui), curl_(curl), path_(path) {}

  static size_t write(char* data, size_t size, size_t count, void* userData) {
    auto* sink = static_cast<DownloadSink*>(userData);
    return sink->accept(data, size * count) ? size * count : 0;
  }

  // Called once the transfer has ended without a transport error.
  int finish() {
    if (!started_ && !start()) return failure();
    if (!pending_.empty() && !writeChunk(pending_)) return failure();
    pending_.clear();
    if (total_ && *total_ != received_) return failure();
    if (!file_ || std::fflush(file_.get()) != 0 || std::fclose(file_.release()) != 0) {
      return failure();
    }
    ui_.showProgress(kTitle, "", 100, 100, progressText());
    ui_.showProgress(kTitle, "", -1, 100, "檔案下載完成 ...");
    return code::kSuccess;
  }

  // Called when the transfer failed; removes whatever was written.
  int failure() {
    if (file_) {
      file_.reset();
      std::remove(path_.c_str());
    }
    if (started_) ui_.showProgress(kTitle, "", -1, 100, "檔案下載失敗");
    return code::kFileDownloadFailed;
  }

 private:
  bool accept(const char* data, size_t length) {
    if (!started_ && !start()) return false;
    pending_.append(data, length);
    size_t offset = 0;
    while (pending_.size() - offset >= kChunkSize) {
      if (!writeChunk(std::string_view(pending_).substr(offset, kChunkSize))) return false;
      offset += kChunkSize;
    }
    pending_.erase(0, offset);
    return true;
  }

  // Status and length are known once the body begins (or the transfer has ended).
  bool start() {
    long status = 0;
    curl_easy_getinfo(curl_, CURLINFO_RESPONSE_CODE, &status);
    if (status != 200) return false;
    curl_off_t length = -1;
    curl_easy_getinfo(curl_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    if (length >= 0) total_ = length;
    file_.reset(std::fopen(path_.c_str(), "wb"));
    if (!file_) return false;
    started_ = true;
    ui_.showProgress(kTitle, "", 0, 100, "開始下載檔案 ...");
    return true;
  }

  bool writeChunk(std::string_view chunk) {
    if (std::fwrite(chunk.data(), 1, chunk.size(), file_.get()) != chunk.size()) return false;
    received_ += static_cast<curl_off_t>(chunk.size());
    if (total_ && *total_ > 0) {
      int percent = static_cast<int>(received_ * 100 / *total_);
      if (percent > lastPercent_ + kMinPercentStep) {
        lastPercent_ = percent;
        ui_.showProgress(kTitle, "", percent, 100, progressText());
      }
    } else if (received_ >= nextUnknownStep_) {
      nextUnknownStep_ += kUnknownLengthStep;
      ui_.showProgress(kTitle, "", 0, 100, progressText());
    }
    return true;
  }

  std::string progressText() const {
    return "檔案下載中, 已下載 " + std::to_string(received_ / 1024) + " KB  ...";
  }

  platform::Ui& ui_;
  CURL* curl_;
  const std::string& path_;
  std::unique_ptr<std::FILE, FileCloser> file_;
  std::string pending_;
  bool started_ = false;
  std::optional<curl_off_t> total_;
  curl_off_t received_ = 0;
  curl_off_t nextUnknownStep_ = kUnknownLengthStep;
  int lastPercent_ = 0;
};

}  // namespace

int downloadFile(platform::Ui& ui, const std::string& pinnedCaPem, const std::string& url,
                 const std::string& path) {
  if (url.empty()) return code::kUnknownError;
  CurlEasy curl = newCurlHandle(pinnedCaPem);
  if (!curl) return code::kUnknownError;
  CURL* h = curl.get();
  DownloadSink sink(ui, h, path);
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &DownloadSink::write);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);

  CURLcode result = curl_easy_perform(h);
  if (result == CURLE_URL_MALFORMAT || result == CURLE_UNSUPPORTED_PROTOCOL) {
    return code::kUnknownError;
  }
  if (result != CURLE_OK) return sink.failure();
  return sink.finish();
}

}  // namespace valo
