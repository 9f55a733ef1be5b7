#include "accessible/accessible_base.h"

#include "accessible/table_strong_marshal.h"

namespace accessible {

// The object of a simple element, for a reader that reaches it from a sibling and holds it: it
// sits in the container and answers by asking the container about the element, for everything
// but the description, which it leaves empty (the program's containers describe none of their
// elements).
class ElementObject final : public AccessibleBase {
 public:
  ElementObject(AccessibleBase* container, long child)
      : AccessibleBase(container->window()), container_(container), child_(child) {
    container_->AddRef();
  }
  ~ElementObject() override { container_->Release(); }

 private:
  bool Connected() const override {
    return container_->Live() && child_ <= container_->ChildCount();
  }
  std::wstring Name(long) const override { return container_->Name(child_); }
  std::wstring Value(long) const override { return container_->Value(child_); }
  long Role(long) const override { return container_->Role(child_); }
  long State(long) const override { return container_->State(child_); }
  std::wstring KeyboardShortcut(long) const override {
    return container_->KeyboardShortcut(child_);
  }
  std::wstring DefaultAction(long) const override { return container_->DefaultAction(child_); }
  bool DoDefaultAction(long) override { return container_->DoDefaultAction(child_); }
  RECT ScreenRect(long) const override { return container_->ScreenRect(child_); }
  IDispatch* ParentObject() override {
    container_->AddRef();
    return static_cast<IAccessible*>(container_);
  }
  long PlaceInParent(AccessibleBase** parent) const override {
    container_->AddRef();
    *parent = container_;
    return child_;
  }

  AccessibleBase* container_;  // one reference
  long child_;
};

// Kept as the window's objects are, and for the same reasons, until the container goes.
IDispatch* AccessibleBase::ElementObjectOf(long child) {
  AccessibleBase* object = nullptr;
  for (const Element& element : elements_) {
    if (element.child == child) object = element.object;
  }
  if (object == nullptr) {
    object = new ElementObject(this, child);
    elements_.push_back({child, object, MarshalTableStrong(static_cast<IAccessible*>(object))});
  }
  object->AddRef();
  return static_cast<IAccessible*>(object);
}

}  // namespace accessible
