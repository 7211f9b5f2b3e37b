// A reference to something callable, passed down without copying it or
// allocating: the work a gateway hands to its host and to the worker scheme.
// It must not outlive what it refers to.
#pragma once

#include <memory>
#include <type_traits>
#include <utility>

namespace velk {

template <class Signature>
class Function_ref;

template <class R, class... Args>
class Function_ref<R(Args...)> {
public:
    template <class F>
        requires(!std::is_same_v<std::remove_cvref_t<F>, Function_ref> &&
                 std::is_invocable_r_v<R, F&, Args...>)
    Function_ref(F&& f) noexcept  // NOLINT: converts like a function pointer
        : object_(const_cast<void*>(static_cast<const void*>(std::addressof(f)))),
          call_([](void* object, Args... args) -> R {
              return (*static_cast<std::remove_reference_t<F>*>(object))(
                  std::forward<Args>(args)...);
          })
    {
    }

    R operator()(Args... args) const { return call_(object_, std::forward<Args>(args)...); }

private:
    void* object_;
    R (*call_)(void*, Args...);
};

}  // namespace velk
