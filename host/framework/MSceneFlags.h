#pragma once
// A yes/no setting per scene, such as an object's visibility: one value for every scene
// plus the scenes set otherwise. Scene 0xFFFFFFFF stands for all scenes.
#include <map>

class MSceneFlags {
public:
  static constexpr unsigned kAllScenes = 0xFFFFFFFF;

  explicit MSceneFlags(bool everywhere) : m_default(everywhere) {}

  // For all scenes, the value replaces every per-scene setting.
  void Set(bool on, unsigned scene) {
    if (scene == kAllScenes) {
      m_default = on;
      m_scenes.clear();
    } else if (on == m_default) {
      m_scenes.erase(scene);  // only the exceptions are kept
    } else {
      m_scenes[scene] = on;
    }
  }

  // For all scenes: whether the setting is on in every scene.
  bool Get(unsigned scene) const {
    if (scene == kAllScenes) return m_default && m_scenes.empty();
    auto it = m_scenes.find(scene);
    return it == m_scenes.end() ? m_default : it->second;
  }

  bool operator==(const MSceneFlags&) const = default;

private:
  bool m_default;
  std::map<unsigned, bool> m_scenes;  // the scenes that differ from m_default
};
