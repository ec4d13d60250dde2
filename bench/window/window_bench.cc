// The output box at scale: the real main window, its Generate button clicked
// with QTest, timed from the click until the output box has painted its end,
// and the time to read the whole output back as Copy does. Each size runs in
// a fresh process, so that its peak memory (ru_maxrss) is its own.
//
// Usage: window_bench [--repeat R] [--literal-up-to N] [BLOCKS...]
//          (default 3 runs of 4094, 100000 and 1000000 blocks; the block by
//          block peer only up to 100000 blocks)
//        window_bench --run BLOCKS click|literal|floor   (one run, one line)
// WINDOW_BENCH_TEMPLATE, when set, replaces the initial template. A question
// before a very large run is answered Yes, and the table says it was asked.
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <sys/resource.h>  // getrusage, the peak resident size
#include <unistd.h>        // readlink, sysconf

#include "app/dispatch.h"
#include "generation/generate.h"
#include "window/commands.h"
#include "window/layout.h"
#include "window/qt/box_text.h"
#include "window/qt/main_window.h"
#include "window/qt/qt_window_port.h"

namespace cmdgen {
namespace {

constexpr std::int64_t kFirstVlan = 1124;

std::int64_t PeakKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

std::int64_t ResidentKib() {
  long pages = 0;
  long resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// FNV-1a over a stream of texts.
struct Digest {
  std::uint64_t hash = 14695981039346656037u;
  std::uint64_t bytes = 0;
  void Add(std::string_view text) {
    for (char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    bytes += text.size();
  }
};

// Watches the output box's viewport for the first paint that shows the end
// of the box: scrolled to the bottom.
class PaintWatch final : public QObject {
 public:
  explicit PaintWatch(QPlainTextEdit& box) : box_(box) { box.viewport()->installEventFilter(this); }
  bool shown_end = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == box_.viewport() && event->type() == QEvent::Paint) {
      const QScrollBar* bar = box_.verticalScrollBar();
      if (bar->maximum() > 0 && bar->value() == bar->maximum()) shown_end = true;
    }
    return false;
  }

 private:
  QPlainTextEdit& box_;
};

// What a run measures: the click on the real window; the same window filled
// as the description's procedure does it, one AppendText of the block and
// its "\r\n" per step; or the floor, the same pieces inserted into a bare
// QTextDocument with neither widget nor layout.
enum class Mode { kClick, kLiteral, kFloor };

int RunOne(std::int64_t blocks, Mode mode) {
  int argc = 1;
  char name[] = "window_bench";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);

  MainWindow window;
  int asked = 0;
  bool refused = false;
  QtWindowPort port(window, {[&asked](QWidget*, std::string_view, std::string_view) {
                               ++asked;
                               return true;
                             },
                             [&refused](QWidget*, std::string_view, std::string_view text) {
                               refused = true;
                               std::fprintf(stderr, "refused: %.*s\n",
                                            static_cast<int>(text.size()), text.data());
                             }});
  window.SetClickHandler([&port](CommandId command) { RouteClick(command, port); });
  const std::string end_number = std::to_string(kFirstVlan + blocks - 1);
  port.SetContent(kEndBox, end_number);
  if (const char* template_text = std::getenv("WINDOW_BENCH_TEMPLATE")) {
    port.SetContent(kTemplateBox, template_text);
  }
  window.ShowCentred();
  if (!QTest::qWaitForWindowExposed(&window)) {
    std::fprintf(stderr, "the window was not shown\n");
    return 1;
  }
  auto* output = qobject_cast<QPlainTextEdit*>(window.Control(kOutputBox));
  auto* button = window.Control(kGenerateButton);
  PaintWatch watch(*output);
  QCoreApplication::processEvents();

  const Text template_text = port.GetContent(kTemplateBox);
  const Text start_list = port.GetContent(kStartBox);
  QTextDocument bare;
  bare.setUndoRedoEnabled(false);

  const std::int64_t base_kib = ResidentKib();
  QElapsedTimer timer;
  timer.start();
  switch (mode) {
    case Mode::kClick:
      QTest::mouseClick(button, Qt::LeftButton);
      break;
    case Mode::kLiteral:
      GenerateCommands(template_text, start_list, end_number, [&port](std::string_view block) {
        const std::string_view texts[] = {block, "\r\n"};
        port.AppendText(kOutputBox, texts);
      });
      break;
    case Mode::kFloor: {
      QTextCursor cursor(&bare);
      std::string piece;
      const auto insert = [&] {
        cursor.insertText(QString::fromUtf8(piece.data(), static_cast<qsizetype>(piece.size())));
        piece.clear();
      };
      GenerateCommands(template_text, start_list, end_number, [&](std::string_view block) {
        piece.append(block);
        piece.append("\r\n");
        if (piece.size() >= kAppendPieceBytes) insert();
      });
      if (!piece.empty()) insert();
      watch.shown_end = true;
      break;
    }
  }
  const double command_ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  while (!refused && !watch.shown_end && timer.elapsed() < 600000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  const double shown_ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  const std::int64_t shown_peak_kib = PeakKib();
  const std::int64_t held_kib = ResidentKib();

  timer.restart();
  const Text content = mode == Mode::kFloor ? MultiLineContent(bare) : port.GetContent(kOutputBox);
  const double read_ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  const std::int64_t read_peak_kib = PeakKib();

  // The box must hold exactly the blocks, with the caret at the end.
  Digest expected;
  GenerateCommands(
      template_text, start_list, end_number,
      [&](std::string_view block) {
        expected.Add(block);
        expected.Add("\r\n");
      },
      port.TextEncoding());
  Digest got;
  got.Add(content);
  const bool exact = watch.shown_end && got.hash == expected.hash && got.bytes == expected.bytes &&
                     (mode == Mode::kFloor ||
                      (output->textCursor().atEnd() && !output->textCursor().hasSelection() &&
                       !output->document()->isUndoAvailable()));
  std::printf("blocks=%" PRId64 " bytes=%" PRIu64
              " lines=%d command_ms=%.1f shown_ms=%.1f "
              "read_ms=%.1f base_kib=%" PRId64 " held_kib=%" PRId64 " shown_peak_kib=%" PRId64
              " read_peak_kib=%" PRId64 " asked=%d exact=%d\n",
              blocks, got.bytes,
              mode == Mode::kFloor ? bare.blockCount() : output->document()->blockCount(),
              command_ms, shown_ms, read_ms, base_kib, held_kib, shown_peak_kib, read_peak_kib,
              asked, exact ? 1 : 0);
  return exact ? 0 : 2;
}

struct Result {
  std::int64_t blocks = 0;
  std::uint64_t bytes = 0;
  int lines = 0, asked = 0, exact = 0;
  double command_ms = 0, shown_ms = 0, read_ms = 0;
  std::int64_t base_kib = 0, held_kib = 0, shown_peak_kib = 0, read_peak_kib = 0;
};

const char* const kModeNames[] = {"click", "literal", "floor"};

bool RunChild(const std::string& self, std::int64_t blocks, Mode mode, Result& result) {
  const std::string command =
      "'" + self + "' --run " + std::to_string(blocks) + " " + kModeNames[static_cast<int>(mode)];
  std::FILE* child = popen(command.c_str(), "r");
  if (child == nullptr) return false;
  char line[1024] = {};
  const bool read = std::fgets(line, sizeof line, child) != nullptr;
  const int status = pclose(child);
  if (!read) return false;
  const int fields =
      std::sscanf(line,
                  "blocks=%" SCNd64 " bytes=%" SCNu64
                  " lines=%d command_ms=%lf shown_ms=%lf read_ms=%lf "
                  "base_kib=%" SCNd64 " held_kib=%" SCNd64 " shown_peak_kib=%" SCNd64
                  " read_peak_kib=%" SCNd64 " asked=%d exact=%d",
                  &result.blocks, &result.bytes, &result.lines, &result.command_ms,
                  &result.shown_ms, &result.read_ms, &result.base_kib, &result.held_kib,
                  &result.shown_peak_kib, &result.read_peak_kib, &result.asked, &result.exact);
  std::fputs(line, stderr);
  return fields == 12 && status == 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string Range(const std::vector<double>& values) {
  char text[96];
  std::snprintf(text, sizeof text, "%.0f ms (%.0f-%.0f)", Median(values),
                *std::min_element(values.begin(), values.end()),
                *std::max_element(values.begin(), values.end()));
  return text;
}

// Runs `repeat` fresh processes; false when one failed or got a wrong text.
bool Repeat(const std::string& self, std::int64_t blocks, Mode mode, int repeat,
            std::vector<Result>& results) {
  for (int i = 0; i < repeat; ++i) {
    Result result;
    if (!RunChild(self, blocks, mode, result) || result.exact != 1) {
      std::fprintf(stderr, "the %s run of %" PRId64 " blocks failed\n",
                   kModeNames[static_cast<int>(mode)], blocks);
      return false;
    }
    results.push_back(result);
  }
  return true;
}

std::vector<double> Field(const std::vector<Result>& results, double Result::*field) {
  std::vector<double> values;
  for (const Result& result : results) values.push_back(result.*field);
  return values;
}

int RunAll(std::vector<std::int64_t> sizes, int repeat, std::int64_t literal_up_to) {
  char self[4096] = {};
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return 1;
  if (sizes.empty()) sizes = {4094, 100000, 1000000};
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  std::printf("Qt platform: %s; %d fresh processes per size and way, median (min-max)\n\n",
              platform != nullptr ? platform : "(default)", repeat);
  std::printf(
      "| Blocks | Lines | Text | Click to end shown | The command alone | Read back "
      "| Peak memory of the process | Growth at the peak (per byte, per line) | Asked first |\n");
  std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|:---:|\n");
  bool ok = true;
  std::vector<std::vector<Result>> clicks;
  for (std::int64_t blocks : sizes) {
    std::vector<Result>& results = clicks.emplace_back();
    ok = Repeat(self, blocks, Mode::kClick, repeat, results) && ok;
    if (results.empty()) continue;
    const Result& last = results.back();
    const double mib = 1024.0 * 1024.0;
    const double growth = static_cast<double>(last.shown_peak_kib - last.base_kib) * 1024.0;
    std::printf("| %" PRId64
                " | %d | %.1f MiB | %s | %s | %s | %.0f MiB | %.0f MiB (%.1f, %.0f) | %s |\n",
                blocks, last.lines, static_cast<double>(last.bytes) / mib,
                Range(Field(results, &Result::shown_ms)).c_str(),
                Range(Field(results, &Result::command_ms)).c_str(),
                Range(Field(results, &Result::read_ms)).c_str(),
                static_cast<double>(last.read_peak_kib) / 1024.0, growth / mib,
                growth / static_cast<double>(last.bytes), growth / static_cast<double>(last.lines),
                last.asked > 0 ? "yes" : "no");
    std::fflush(stdout);
  }

  std::printf(
      "\nThe same text into the same box one AppendText per block (block, \"\\r\\n\"), "
      "and into a bare QTextDocument in the same pieces (no widget, no layout):\n\n");
  std::printf(
      "| Blocks | Click to end shown | One AppendText per block | Bare QTextDocument "
      "| Click against the bare document |\n");
  std::printf("|---:|---:|---:|---:|---:|\n");
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    if (clicks[i].empty()) continue;
    std::vector<Result> literal, floor;
    if (sizes[i] <= literal_up_to)
      ok = Repeat(self, sizes[i], Mode::kLiteral, repeat, literal) && ok;
    ok = Repeat(self, sizes[i], Mode::kFloor, repeat, floor) && ok;
    if (floor.empty()) continue;
    const std::vector<double> click_ms = Field(clicks[i], &Result::shown_ms);
    const std::vector<double> floor_ms = Field(floor, &Result::shown_ms);
    std::printf("| %" PRId64 " | %s | %s | %s | %.2f |\n", sizes[i], Range(click_ms).c_str(),
                literal.empty() ? "not run" : Range(Field(literal, &Result::shown_ms)).c_str(),
                Range(floor_ms).c_str(), Median(click_ms) / Median(floor_ms));
    std::fflush(stdout);
  }
  return ok ? 0 : 1;
}

}  // namespace
}  // namespace cmdgen

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--run") == 0) {
    for (int mode = 0; mode < 3; ++mode) {
      if (std::strcmp(argv[3], cmdgen::kModeNames[mode]) == 0) {
        return cmdgen::RunOne(std::strtoll(argv[2], nullptr, 10), static_cast<cmdgen::Mode>(mode));
      }
    }
    return 1;
  }
  int repeat = 3;
  std::int64_t literal_up_to = 100000;
  std::vector<std::int64_t> sizes;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) {
      repeat = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--literal-up-to") == 0 && i + 1 < argc) {
      literal_up_to = std::strtoll(argv[++i], nullptr, 10);
    } else {
      sizes.push_back(std::strtoll(argv[i], nullptr, 10));
    }
  }
  return cmdgen::RunAll(sizes, repeat, literal_up_to);
}
