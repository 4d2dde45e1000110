#include "host/framework/MScene.h"

#include "host/framework/UIObject.h"

#include <algorithm>

MScene::~MScene() = default;

void MScene::AddObject(UIObject* object) {
  if (object && !Contains(object)) m_objects.push_back(object);
}

void MScene::RemoveObject(UIObject* object) { std::erase(m_objects, object); }

bool MScene::Contains(const UIObject* object) const {
  return std::find(m_objects.begin(), m_objects.end(), object) != m_objects.end();
}

bool MScene::DeliverOperation(MOperation& operation) {
  // Walks a copy, so that an object may edit the scene while it handles the operation:
  // objects removed meanwhile are skipped (they may be gone), objects added meanwhile get
  // the next operation.
  const std::vector<UIObject*> objects = m_objects;
  bool all = true;
  for (UIObject* o : objects)
    if (Contains(o)) all = o->DoOperation(operation) && all;
  return all;
}
