// A list sized once, held inline when small: call arguments live in one,
// and a heap allocation per call would cost more than the call itself.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace script {

template <typename T, size_t N>
class SmallList {
  public:
    SmallList() = default;
    SmallList(const SmallList&) = delete;
    SmallList& operator=(const SmallList&) = delete;

    void resize(size_t n) {
        if (n > N) {
            heap_.resize(n);
            data_ = heap_.data();
        }
        size_ = n;
    }
    size_t size() const { return size_; }
    T* data() { return data_; }
    const T* data() const { return data_; }
    T& operator[](size_t i) { return data_[i]; }

  private:
    std::array<T, N> inline_{};
    std::vector<T> heap_;
    T* data_ = inline_.data();
    size_t size_ = 0;
};

}  // namespace script
