#pragma once
// The bounded history of one trace: a ring buffer of (key, value) pairs, oldest first.
// Its storage is taken whole on the first push and kept by Clear(), so that a trace fed in
// steady state never allocates; once full, each push overwrites the oldest pair.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrum {

struct ChartSample {
    double key = 0.0;  // time in seconds, or x of an x-y point
    double value = 0.0;
};

class TraceBuffer {
public:
    explicit TraceBuffer(std::size_t capacity) : capacity_(capacity == 0 ? 1 : capacity) {}

    void Push(double key, double value);
    void Clear();

    std::size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }
    std::size_t Capacity() const { return capacity_; }
    // Pairs pushed since the buffer was made: the newest pair is number Pushed() - 1.
    std::uint64_t Pushed() const { return pushed_; }
    // The pair i places after the oldest kept one.
    const ChartSample& operator[](std::size_t i) const { return samples_[Wrap(head_ + i)]; }
    const ChartSample& Newest() const { return (*this)[size_ - 1]; }
    // The first pair whose key is not below `key`, for keys pushed in ascending order;
    // Size() when there is none.
    std::size_t FirstAtOrAfter(double key) const;
    // Memory taken by the stored pairs.
    std::size_t BytesHeld() const { return samples_.capacity() * sizeof(ChartSample); }

private:
    std::size_t Wrap(std::size_t i) const { return i >= capacity_ ? i - capacity_ : i; }

    std::vector<ChartSample> samples_;
    std::size_t capacity_;
    std::size_t head_ = 0;  // index of the oldest pair
    std::size_t size_ = 0;
    std::uint64_t pushed_ = 0;
};

}  // namespace kestrum
