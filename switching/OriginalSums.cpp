#include "switching/OriginalSums.h"
#include "switching/PackageListing.h"
#include "zip/ZipFileCrc.h"

OriginalSums::~OriginalSums()
{
    Wait();
}

void OriginalSums::Start(const std::vector<std::wstring>& paths, FileStamps* stamps)
{
    Wait();
    m_sums.clear();
    m_stamps = stamps;
    unsigned long long size = 0;
    DWORD crc = 0;
    for (const std::wstring& path : paths)
        if (!m_stamps || !m_stamps->Holds(path, &size, &crc)) m_sums.push_back(Sum{path});
    if (!m_sums.empty()) m_thread.Start([this] { Run(); });
}

void OriginalSums::Wait()
{
    m_thread.Wait();
}

void OriginalSums::Run()
{
    // The stamp is read first: a file written while it is summed no longer matches it afterwards.
    for (Sum& sum : m_sums) {
        unsigned long long size = 0;
        sum.summed = ReadFileStamp(sum.path, &sum.size, &sum.modified) && ZipFileCrc32(sum.path.c_str(), &sum.crc, &size) &&
                     size == sum.size;
    }
}

bool OriginalSums::Crc(const std::wstring& path, DWORD* crc, unsigned long long* size)
{
    Wait();
    unsigned long long now = 0;
    FILETIME modified{};
    for (const Sum& sum : m_sums)
        if (sum.summed && sum.path == path && ReadFileStamp(path, &now, &modified) && now == sum.size &&
            CompareFileTime(&modified, &sum.modified) == 0) {
            *crc = sum.crc;
            *size = sum.size;
            return true;
        }
    return (m_stamps && m_stamps->Holds(path, size, crc)) || ZipFileCrc32(path.c_str(), crc, size);
}
