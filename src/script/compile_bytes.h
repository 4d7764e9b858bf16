// What a compiled text holds, counted as it is made. The engine keeps
// compiled texts in a cache bounded by bytes, and a text's length says
// little about them: a line of 16,000 tokens holds a node, a numeric
// program step and a list entry per token, a hundred bytes and more for
// each two characters. So the compiled form allocates through the counters
// here, and a compile run inside a CompileBytes scope learns what it left
// allocated. Outside a scope (the run time, which makes no compiled parts)
// counting costs one test of a thread_local.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

namespace script {

// The bytes the compiled parts made on this thread hold while the scope
// lasts: allocations add, releases subtract (a list that grows frees its
// old buffer). Scopes nest; only the innermost counts.
class CompileBytes {
  public:
    // What a heap block costs beyond the bytes asked for, on average: its
    // header and the rounding up to the heap's granularity (16 bytes on
    // both the C library's heap and the Windows heap).
    static constexpr size_t kBlockOverhead = 16;

    CompileBytes() : outer_(current_) { current_ = &bytes_; }
    ~CompileBytes() { current_ = outer_; }
    CompileBytes(const CompileBytes&) = delete;
    CompileBytes& operator=(const CompileBytes&) = delete;

    size_t Total() const { return bytes_; }

    static void Add(size_t n) {
        if (current_) *current_ += n;
    }
    // Never below zero: what is released may have been made before the
    // scope began.
    static void Subtract(size_t n) {
        if (current_) *current_ -= n < *current_ ? n : *current_;
    }

  private:
    static inline thread_local size_t* current_ = nullptr;
    size_t bytes_ = 0;
    size_t* outer_;
};

// A base for the compiled parts allocated one by one (nodes, procedures,
// classes): each is counted at its real, most derived size.
struct CompileCounted {
    static void* operator new(size_t n) {
        void* p = ::operator new(n);
        CompileBytes::Add(n + CompileBytes::kBlockOverhead);
        return p;
    }
    static void operator delete(void* p, size_t n) {
        CompileBytes::Subtract(n + CompileBytes::kBlockOverhead);
        ::operator delete(p, n);
    }
};

// The allocator of the lists a compiled text holds.
template <typename T>
struct CompileAllocator {
    using value_type = T;
    CompileAllocator() = default;
    template <typename U>
    CompileAllocator(const CompileAllocator<U>&) {}

    T* allocate(size_t n) {
        T* p = std::allocator<T>().allocate(n);
        CompileBytes::Add(n * sizeof(T) + CompileBytes::kBlockOverhead);
        return p;
    }
    void deallocate(T* p, size_t n) {
        CompileBytes::Subtract(n * sizeof(T) + CompileBytes::kBlockOverhead);
        std::allocator<T>().deallocate(p, n);
    }
    friend bool operator==(CompileAllocator, CompileAllocator) { return true; }
    friend bool operator!=(CompileAllocator, CompileAllocator) { return false; }
};

template <typename T>
using CompiledList = std::vector<T, CompileAllocator<T>>;

}  // namespace script
