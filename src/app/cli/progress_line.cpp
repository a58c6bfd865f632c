#include "app/cli/progress_line.h"

#include <cstdio>

namespace valo::cli {

void ProgressLine::update(std::string_view title, int position, int range,
                          std::string_view message) {
  if (!title.empty()) caption_ = title;
  position_ = position;
  range_ = range;
  text_ = message;
}

void ProgressLine::finish(std::string_view message) { text_ = message; }

int ProgressLine::percent() const {
  if (range_ <= 0 || position_ <= 0) return 0;
  if (position_ >= range_) return 100;
  return static_cast<int>(static_cast<long long>(position_) * 100 / range_);
}

std::string ProgressLine::prefix() const { return caption_.empty() ? "" : caption_ + ": "; }

std::string ProgressLine::barLine() const {
  const int filled = percent() * kBarWidth / 100;
  char number[8];
  std::snprintf(number, sizeof number, "%3d%%", percent());
  return prefix() + "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '-') + "] " +
         number + " " + text_;
}

std::string ProgressLine::plainLine() const {
  return prefix() + std::to_string(percent()) + "% " + text_;
}

std::string ProgressLine::finalLine() const { return prefix() + text_; }

}  // namespace valo::cli
