#pragma once
#include "host/HostApi.h"

#include <cstdint>
#include <vector>

class MOperation;
class UIObject;

// A scene of the framework: its number and the objects in it, in the order added. The
// objects are the document's; the scene only lists them.
class VISTAL_HOST_API MScene {
public:
  explicit MScene(unsigned id = 0) : m_id(id) {}
  MScene(const MScene&) = default;
  MScene& operator=(const MScene&) = default;
  virtual ~MScene();

  unsigned GetID() const { return m_id; }

  // Null and already listed objects are ignored.
  void AddObject(UIObject* object);
  // No-op for an object that is not listed.
  void RemoveObject(UIObject* object);
  bool Contains(const UIObject* object) const;
  const std::vector<UIObject*>& GetObjects() const { return m_objects; }

  // The framework's delivery of an operation: each object's DoOperation, in the order the
  // objects were added, every object even after one declined. Answers whether all accepted.
  bool DeliverOperation(MOperation& operation);

private:
  unsigned m_id;
  std::vector<UIObject*> m_objects;
};
