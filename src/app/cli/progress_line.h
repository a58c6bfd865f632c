#ifndef VALO_APP_CLI_PROGRESS_LINE_H_
#define VALO_APP_CLI_PROGRESS_LINE_H_

#include <string>
#include <string_view>

namespace valo::cli {

// The progress window drawn as text. It keeps what the window keeps between calls (the
// caption persists until a call brings a new one; range and position are set by every
// call) and formats one line for each update.
class ProgressLine {
 public:
  // Applies one update with a position of 0 or above. An empty title keeps the caption.
  // The subtitle is not kept: the message replaces it in the same update.
  void update(std::string_view title, int position, int range, std::string_view message);
  // Applies the final update (negative position): only the text changes.
  void finish(std::string_view message);

  // "<caption>: [#####---------------]  25% <text>" for a terminal line redrawn in place.
  std::string barLine() const;
  // "<caption>: 25% <text>" for an update written on a line of its own.
  std::string plainLine() const;
  // "<caption>: <text>" for the final step.
  std::string finalLine() const;

  // Completed share in whole percent, 0 when the range is not positive, at most 100.
  int percent() const;

  static constexpr int kBarWidth = 20;

 private:
  std::string prefix() const;

  std::string caption_;
  std::string text_;
  int position_ = 0;
  int range_ = 0;
};

}  // namespace valo::cli

#endif  // VALO_APP_CLI_PROGRESS_LINE_H_
