// Internal to the restart set: the visitors that turn the item lists into records and back, and the
// opening of the files.
#ifndef QR4T_APP_RESTART_RESTART_IO_H
#define QR4T_APP_RESTART_RESTART_IO_H

#include "app/restart/restart_items.h"
#include "app/restart/restart_plan.h"
#include "base/records.h"
#include "base/units.h"

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

// Tries to open a restart file on unit 7 a few times before giving up (a file can be held briefly by
// another program, such as a virus scanner). Returns false when every attempt failed.
bool open_restart_unit(const std::string& path, UnitMode mode);

// Scalar items are 4-byte integers and 4- and 8-byte reals, the I4, R4 and R8 of the record layout.
template <class T>
constexpr bool is_restart_scalar =
    std::is_same_v<T, std::int32_t> || std::is_same_v<T, float> || std::is_same_v<T, double>;

// Collects the items of one file into a record for writing.
struct WriteVisitor {
    RecordWriter record;
    std::vector<unsigned char>& zeros;  // stands in for a fixed table that was never allocated

    template <class T>
    void operator()(T& value)
    {
        static_assert(is_restart_scalar<T>, "restart items are I4, R4 or R8");
        record.put(value);
    }
    template <class T, int R>
    void operator()(Array<T, R>& array)
    {
        record.put(array);
    }
    template <class T, int R, class... E>
    void fixed(Array<T, R>& array, E... extents)
    {
        std::size_t bytes = sizeof(T);
        for (long long e : {static_cast<long long>(extents)...})
            bytes *= static_cast<std::size_t>(e);
        if (array.bytes() == bytes) {
            record.put(array);
        } else {
            if (zeros.size() < bytes)
                zeros.resize(bytes, 0);
            record.put_bytes(zeros.data(), bytes);
        }
    }
    template <class T>
    void fixed_block(T* data, std::size_t count)
    {
        record.put_bytes(data, count * sizeof(T));
    }
    void check() { record.put(RESTART_CHECK); }
};

// Takes the items of one file from its record into the state (arrays allocated beforehand).
struct ReadVisitor {
    RecordReader record;
    bool short_record = false;  // the record ran out before an item

    template <class T>
    void operator()(T& value)
    {
        static_assert(is_restart_scalar<T>, "restart items are I4, R4 or R8");
        short_record = short_record || !record.get(value);
    }
    template <class T, int R>
    void operator()(Array<T, R>& array)
    {
        short_record = short_record || !record.get(array);
    }
    template <class T, int R, class... E>
    void fixed(Array<T, R>& array, E... extents)
    {
        std::size_t bytes = sizeof(T);
        for (long long e : {static_cast<long long>(extents)...})
            bytes *= static_cast<std::size_t>(e);
        if (array.bytes() != bytes)
            array.allocate(extents...);
        (*this)(array);
    }
    template <class T>
    void fixed_block(T* data, std::size_t count)
    {
        short_record = short_record || !record.get_bytes(data, count * sizeof(T));
    }
    void check() { (*this)(RUN.JCHECK); }
};

// Adds up the byte length of one file's record as the plan dimensions its arrays, and lists the
// arrays whose allocated length differs from the plan (a set written from them could not be read).
struct MeasureVisitor {
    explicit MeasureVisitor(const std::vector<PlannedArray>& p) : plan(p) {}

    const std::vector<PlannedArray>& plan;
    long double bytes = 0.0L;
    std::vector<std::string> mismatched;

    template <class T>
    void operator()(T&)
    {
        static_assert(is_restart_scalar<T>, "restart items are I4, R4 or R8");
        bytes += sizeof(T);
    }
    template <class T, int R>
    void operator()(Array<T, R>& array)
    {
        long double planned = planned_bytes(plan, &array);
        if (planned < 0.0L)
            planned = 0.0L;  // an array the set never allocates (SPARE_INT_ARRAY)
        bytes += planned;
        if (static_cast<long double>(array.bytes()) != planned)
            mismatched.push_back(planned_name(&array));
    }
    template <class T, int R, class... E>
    void fixed(Array<T, R>&, E... extents)
    {
        long double n = sizeof(T);
        for (long long e : {static_cast<long long>(extents)...})
            n *= e;
        bytes += n;
    }
    template <class T>
    void fixed_block(T*, std::size_t count)
    {
        bytes += static_cast<long double>(count * sizeof(T));
    }
    void check() { bytes += sizeof(std::int32_t); }

    std::string planned_name(const void* array) const
    {
        for (const PlannedArray& p : plan) {
            if (p.array == array)
                return p.name;
        }
        return "an array outside the size record";
    }
};

#endif
