#pragma once
// Recorded input for vistal-preview: one step per line, so that a run can be replayed
// without a person at the mouse (and tests can drive the program).
//
//   # a comment; blank lines are skipped
//   keys ctrl|shift|ctrl+shift|none     keys held with the mouse events that follow
//   move X Y                             the mouse moves to (X, Y)
//   down left|right X Y                  a button goes down at (X, Y)
//   up left|right X Y                    a button comes up at (X, Y)
//   drag left|right X0 Y0 X1 Y1 [N]      down at the first point, N moves (default 8) in
//                                        equal steps to the second, up there
//   command pan|rotate|zoomrect|unzoom   a toolbar command, as if its button was clicked
//   wait MS                              lets timers and painting run for MS milliseconds
//
// Points are in pixels of the window's client area, x right and y down.
#include <string>
#include <vector>

struct ScriptStep {
  enum EKind { eKeys, eMove, eDown, eUp, eCommand, eWait };
  EKind kind = eMove;
  int x = 0, y = 0;
  bool right = false;    // eDown, eUp: the right button, else the left
  bool control = false;  // eKeys
  bool shift = false;
  unsigned command = 0;  // eCommand: the toolbar command's identifier
  int milliseconds = 0;  // eWait
};

// Throws std::invalid_argument with one line naming the file and line and what is wrong.
std::vector<ScriptStep> ParseScript(const std::string& text, const std::string& name);
// Reads and parses the file; throws std::runtime_error when it cannot be read.
std::vector<ScriptStep> ReadScript(const std::string& path);
