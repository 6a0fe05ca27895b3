// Array<T, Rank>: the 1-based, field-major array of every state array.
//
// Subscripts run from 1 to the extent in every dimension and the first subscript varies fastest, so
// PV(1, m) .. PV(4, m) of one molecule are neighbours in memory. The storage is one contiguous block,
// zero-filled on allocation, so that a restart record can write it whole. An extent whose expression
// is negative counts as 0; an array with a zero extent holds no elements but counts as allocated.
// allocate() reports failure instead of throwing, so that the caller can log "PROGRAM COULD NOT
// ALLOCATE" with the array's name.
#ifndef QR4T_BASE_ARRAY_H
#define QR4T_BASE_ARRAY_H

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace array_detail {

// A large array (the molecule store, the cell and lattice arrays) is read at random places: on Linux
// it asks for transparent huge pages before its first touch, which saves most of the address
// translation misses. Only whole 2 MiB pages inside the block are advised; the contents are unchanged.
inline void advise_huge_pages(void* p, std::size_t bytes)
{
#if defined(__linux__)
    constexpr std::uintptr_t HUGE_PAGE = std::uintptr_t(2) << 20;
    if (bytes < 2 * HUGE_PAGE)
        return;
    const std::uintptr_t first = (reinterpret_cast<std::uintptr_t>(p) + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
    const std::uintptr_t last = (reinterpret_cast<std::uintptr_t>(p) + bytes) & ~(HUGE_PAGE - 1);
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)p;
    (void)bytes;
#endif
}

}  // namespace array_detail

template <class T, int Rank>
class Array {
    static_assert(Rank >= 1 && Rank <= 6, "Array rank 1 to 6");
    static_assert(std::is_trivially_copyable_v<T>, "Array holds plain values");

public:
    // No implicit copy: a missing & would silently copy a whole store (the molecule store is gigabytes).
    // A copy that is meant is written clone(); moves hand the storage over.
    Array() = default;
    Array(const Array&) = delete;
    Array& operator=(const Array&) = delete;
    Array(Array&&) noexcept = default;
    Array& operator=(Array&&) noexcept = default;

    // An independent copy: same extents, same elements (an unallocated array gives an unallocated one).
    Array clone() const
    {
        Array copy;
        copy.copy_from(*this);
        return copy;
    }

    // Allocates with the given extents (negative counts as 0), zero-filled. Returns false, leaving the
    // array unallocated, when the size overflows or memory is short. An allocated array is freed first.
    template <class... E>
    bool allocate(E... extents)
    {
        static_assert(sizeof...(E) == Rank, "one extent per dimension");
        deallocate();
        std::array<long long, Rank> ext{static_cast<long long>(extents)...};
        std::size_t total = 1;
        for (int d = 0; d < Rank; ++d) {
            long long e = ext[d] < 0 ? 0 : ext[d];
            if (e > INT32_MAX)
                return false;
            extent_[d] = static_cast<int>(e);
            if (e != 0 && total > SIZE_MAX / sizeof(T) / static_cast<std::size_t>(e))
                return false;
            total *= static_cast<std::size_t>(e);
        }
        std::size_t alloc_count = total == 0 ? 1 : total;
        T* p = new (std::nothrow) T[alloc_count];
        if (!p) {
            extent_.fill(0);
            return false;
        }
        array_detail::advise_huge_pages(p, alloc_count * sizeof(T));
        std::memset(static_cast<void*>(p), 0, alloc_count * sizeof(T));
        data_.reset(p);
        size_ = total;
        return true;
    }

    // Frees the storage; the array is then unallocated with all extents 0.
    void deallocate()
    {
        data_.reset();
        size_ = 0;
        extent_.fill(0);
    }

    bool allocated() const { return data_ != nullptr; }
    std::size_t size() const { return size_; }               // number of elements
    std::size_t bytes() const { return size_ * sizeof(T); }  // byte length of the whole array
    int extent(int dim) const { return extent_[dim - 1]; }   // extent of dimension 1..Rank
    T* data() { return data_.get(); }
    const T* data() const { return data_.get(); }
    T* begin() { return data_.get(); }
    T* end() { return data_.get() + size_; }
    const T* begin() const { return data_.get(); }
    const T* end() const { return data_.get() + size_; }

    // Sets every element to v.
    void fill(const T& v)
    {
        for (std::size_t i = 0; i < size_; ++i)
            data_[i] = v;
    }

    template <class... I>
    T& operator()(I... idx)
    {
        return data_[offset(idx...)];
    }
    template <class... I>
    const T& operator()(I... idx) const
    {
        return data_[offset(idx...)];
    }

    // Zero-based offset of an element, for code that walks the storage (restart records, moves of
    // whole columns).
    template <class... I>
    std::size_t offset(I... idx) const
    {
        static_assert(sizeof...(I) == Rank, "one subscript per dimension");
        const long long s[Rank] = {static_cast<long long>(idx)...};
        std::size_t off = 0;
        std::size_t stride = 1;
        for (int d = 0; d < Rank; ++d) {
            assert(s[d] >= 1 && s[d] <= extent_[d] && "Array subscript out of bounds");
            off += static_cast<std::size_t>(s[d] - 1) * stride;
            stride *= static_cast<std::size_t>(extent_[d]);
        }
        return off;
    }

private:
    void copy_from(const Array& other)
    {
        deallocate();
        if (!other.allocated())
            return;
        std::size_t n = other.size_ == 0 ? 1 : other.size_;
        data_.reset(new T[n]);
        std::memcpy(static_cast<void*>(data_.get()), other.data_.get(), n * sizeof(T));
        size_ = other.size_;
        extent_ = other.extent_;
    }

    std::unique_ptr<T[]> data_;
    std::size_t size_ = 0;
    std::array<int, Rank> extent_{};
};

#endif
