// A list of fixed capacity, held inline when small: call arguments and
// procedure locals live in one, and a heap allocation per call would cost
// more than the call itself. Only the elements put in are constructed, each
// in its final place, so addresses handed out stay good until the list goes.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <stdexcept>
#include <utility>

namespace script {

template <typename T, size_t N>
class SmallList {
  public:
    SmallList() = default;
    SmallList(const SmallList&) = delete;
    SmallList& operator=(const SmallList&) = delete;
    ~SmallList() { Release(); }

    // Room for n elements, none constructed yet; drops what the list held.
    void Reserve(size_t n) {
        Release();
        if (n > N) {
            data_ = std::allocator<T>().allocate(n);
        }
        capacity_ = n;
    }
    template <typename... A>
    T& EmplaceBack(A&&... args) {
        if (size_ >= capacity_) throw std::length_error("SmallList capacity");
        T* p = new (data_ + size_) T(std::forward<A>(args)...);
        ++size_;
        return *p;
    }
    // n value-initialised elements.
    void resize(size_t n) {
        Reserve(n);
        for (size_t i = 0; i < n; ++i) EmplaceBack();
    }

    size_t size() const { return size_; }
    T* data() { return data_; }
    const T* data() const { return data_; }
    T& operator[](size_t i) { return data_[i]; }

  private:
    T* Inline() { return std::launder(reinterpret_cast<T*>(inline_)); }

    void Release() {
        std::destroy_n(data_, size_);
        if (data_ != Inline()) std::allocator<T>().deallocate(data_, capacity_);
        data_ = Inline();
        size_ = 0;
        capacity_ = N;
    }

    alignas(T) unsigned char inline_[N * sizeof(T)];
    T* data_ = Inline();
    size_t size_ = 0;
    size_t capacity_ = N;
};

}  // namespace script
