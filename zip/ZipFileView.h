#pragma once
#include <windows.h>
#include <cstddef>

// A read-only view of a range of a file, unmapped with the object.
class ZipFileView {
public:
    ZipFileView() = default;
    ~ZipFileView();
    ZipFileView(const ZipFileView&) = delete;
    ZipFileView& operator=(const ZipFileView&) = delete;

    // The range's bytes, or null when it cannot be mapped (no address space, or past the file's end).
    const unsigned char* Map(HANDLE file, unsigned long long offset, size_t size);

private:
    void* m_view = nullptr;
};
