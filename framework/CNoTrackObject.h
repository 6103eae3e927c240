#pragma once
#include <cstddef>

// Allocated from the local heap, zero-filled, outside the C++ heap; a failed allocation raises
// the framework's out-of-memory exception.
class CNoTrackObject {
public:
    static void* operator new(std::size_t size);
    static void operator delete(void* block) noexcept;
    virtual ~CNoTrackObject() = default;
};
