#pragma once

#include <array>
#include <memory>
#include <stdexcept>
#include <string>

namespace platform {

// A control array: elements of one kind reached by index 0..N-1, like
// shpFood(i). An index out of range throws std::out_of_range naming the
// array and the index.
template <class T, int N>
class ControlArray {
  public:
    explicit ControlArray(std::string name) : name_(std::move(name)) {}

    static constexpr int size() { return N; }
    const std::string& name() const { return name_; }

    T& operator()(int index) { return *items_[checked(index)]; }
    const T& operator()(int index) const { return *items_[checked(index)]; }

    // Fills slot `index` once, while the scene is being built.
    void place(int index, std::unique_ptr<T> item) { items_[checked(index)] = std::move(item); }

  private:
    std::size_t checked(int index) const {
        if (static_cast<unsigned>(index) >= static_cast<unsigned>(N)) [[unlikely]] {
            outOfRange(index);
        }
        return static_cast<std::size_t>(index);
    }

    [[noreturn, gnu::cold, gnu::noinline]] void outOfRange(int index) const {
        throw std::out_of_range(name_ + "(" + std::to_string(index) +
                                "): index out of range 0 to " + std::to_string(N - 1));
    }

    std::string name_;
    std::array<std::unique_ptr<T>, N> items_{};
};

}  // namespace platform
