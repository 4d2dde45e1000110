#include "Script.h"

#include "vistal/preview/MCtrl3DPreview.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

constexpr int kMaxCoordinate = 100000;
constexpr int kMaxWait = 600000;  // ten minutes
constexpr int kMaxDragSteps = 1000;

struct Line {
  const std::string& name;
  int number;
  [[noreturn]] void Refuse(const std::string& what) const {
    throw std::invalid_argument(name + ":" + std::to_string(number) + ": " + what);
  }
};

int ParseInt(const std::string& word, int low, int high, const Line& line, const char* usage) {
  int value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size() || value < low || value > high)
    line.Refuse("'" + word + "' is not a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
                " (" + usage + ")");
  return value;
}

bool ParseButton(const std::string& word, const Line& line) {
  if (word != "left" && word != "right") line.Refuse("the button is 'left' or 'right', not '" + word + "'");
  return word == "right";
}

unsigned ParseCommand(const std::string& word, const Line& line) {
  if (word == "pan") return MCtrl3DPreview::kCommandPan;
  if (word == "rotate") return MCtrl3DPreview::kCommandRotate;
  if (word == "zoomrect") return MCtrl3DPreview::kCommandZoomRect;
  if (word == "unzoom") return MCtrl3DPreview::kCommandUnzoom;
  line.Refuse("the command is pan, rotate, zoomrect or unzoom, not '" + word + "'");
}

}  // namespace

std::vector<ScriptStep> ParseScript(const std::string& text, const std::string& name) {
  std::vector<ScriptStep> steps;
  std::istringstream in(text);
  std::string raw;
  for (int number = 1; std::getline(in, raw); ++number) {
    const Line line{name, number};
    if (const auto hash = raw.find('#'); hash != std::string::npos) raw.erase(hash);
    std::istringstream words(raw);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    if (w.empty()) continue;
    const std::string& verb = w[0];
    auto expect = [&](std::size_t low, std::size_t high, const char* usage) {
      if (w.size() < low || w.size() > high) line.Refuse(std::string("expected '") + usage + "'");
    };
    auto coordinate = [&](std::size_t i, const char* usage) {
      return ParseInt(w[i], -kMaxCoordinate, kMaxCoordinate, line, usage);
    };
    ScriptStep step;
    if (verb == "keys") {
      static const char* usage = "keys ctrl|shift|ctrl+shift|none";
      expect(2, 2, usage);
      if (w[1] != "none" && w[1] != "ctrl" && w[1] != "shift" && w[1] != "ctrl+shift" && w[1] != "shift+ctrl")
        line.Refuse(std::string("expected '") + usage + "'");
      step.kind = ScriptStep::eKeys;
      step.control = w[1].find("ctrl") != std::string::npos;
      step.shift = w[1].find("shift") != std::string::npos;
      steps.push_back(step);
    } else if (verb == "move") {
      static const char* usage = "move X Y";
      expect(3, 3, usage);
      step.x = coordinate(1, usage);
      step.y = coordinate(2, usage);
      steps.push_back(step);
    } else if (verb == "down" || verb == "up") {
      static const char* usage = "down|up left|right X Y";
      expect(4, 4, usage);
      step.kind = verb == "down" ? ScriptStep::eDown : ScriptStep::eUp;
      step.right = ParseButton(w[1], line);
      step.x = coordinate(2, usage);
      step.y = coordinate(3, usage);
      steps.push_back(step);
    } else if (verb == "drag") {
      static const char* usage = "drag left|right X0 Y0 X1 Y1 [N]";
      expect(6, 7, usage);
      const bool right = ParseButton(w[1], line);
      const int x0 = coordinate(2, usage), y0 = coordinate(3, usage);
      const int x1 = coordinate(4, usage), y1 = coordinate(5, usage);
      const int n = w.size() == 7 ? ParseInt(w[6], 1, kMaxDragSteps, line, usage) : 8;
      steps.push_back({ScriptStep::eDown, x0, y0, right});
      for (int i = 1; i <= n; ++i)
        steps.push_back({ScriptStep::eMove, x0 + (x1 - x0) * i / n, y0 + (y1 - y0) * i / n});
      steps.push_back({ScriptStep::eUp, x1, y1, right});
    } else if (verb == "command") {
      expect(2, 2, "command pan|rotate|zoomrect|unzoom");
      step.kind = ScriptStep::eCommand;
      step.command = ParseCommand(w[1], line);
      steps.push_back(step);
    } else if (verb == "wait") {
      static const char* usage = "wait MS";
      expect(2, 2, usage);
      step.kind = ScriptStep::eWait;
      step.milliseconds = ParseInt(w[1], 0, kMaxWait, line, usage);
      steps.push_back(step);
    } else {
      line.Refuse("unknown step '" + verb + "' (keys, move, down, up, drag, command or wait)");
    }
  }
  return steps;
}

std::vector<ScriptStep> ReadScript(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the script '" + path + "'");
  std::ostringstream text;
  text << in.rdbuf();
  return ParseScript(text.str(), path);
}
