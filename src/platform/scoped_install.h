#pragma once
// Something process-wide installed for the life of a scope (a test's fixture, a front end's run):
// what was installed before comes back when the scope ends, on every path out of it.
namespace pt {

template <class T, T (*Get)(), void (*Set)(T)>
class ScopedInstall {
 public:
  explicit ScopedInstall(T value) : previous_(Get()) { Set(value); }
  ~ScopedInstall() { Set(previous_); }
  ScopedInstall(const ScopedInstall&) = delete;
  ScopedInstall& operator=(const ScopedInstall&) = delete;

 private:
  T previous_;
};

}  // namespace pt
