#include "widgets/instruments/TraceBuffer.h"

namespace kestrum {

void TraceBuffer::Push(double key, double value) {
    if (samples_.empty()) samples_.resize(capacity_);
    ++pushed_;
    if (size_ < capacity_) {
        samples_[Wrap(head_ + size_)] = {key, value};
        ++size_;
    } else {
        samples_[head_] = {key, value};
        head_ = Wrap(head_ + 1);
    }
}

void TraceBuffer::Clear() {
    head_ = 0;
    size_ = 0;
}

std::size_t TraceBuffer::FirstAtOrAfter(double key) const {
    std::size_t low = 0;
    std::size_t high = size_;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if ((*this)[middle].key < key)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

}  // namespace kestrum
