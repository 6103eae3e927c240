#include "framework/DialogTemplate.h"
#include <windows.h>
#include <cstring>

namespace {

// A bounds-checked cursor over the template's bytes.
class Reader {
public:
    Reader(const unsigned char* data, size_t size) : m_data(data), m_size(size) {}
    size_t Offset() const { return m_offset; }
    bool Ok() const { return m_ok; }
    bool Skip(size_t count)
    {
        if (!m_ok || count > m_size - m_offset) return m_ok = false;
        m_offset += count;
        return true;
    }
    template <typename T> T Read()
    {
        T value{};
        if (m_ok && sizeof(T) <= m_size - m_offset) {
            std::memcpy(&value, m_data + m_offset, sizeof(T));
            m_offset += sizeof(T);
        } else {
            m_ok = false;
        }
        return value;
    }
    bool AlignTo(size_t alignment)
    {
        size_t pad = (alignment - m_offset % alignment) % alignment;
        if (pad > m_size - m_offset) {
            // Trailing padding of the last item may be absent.
            m_offset = m_size;
            return true;
        }
        m_offset += pad;
        return true;
    }
    // A name or ordinal field: 0x0000 (none), 0xFFFF plus ordinal, or a zero-terminated text.
    CString ReadNameOrOrdinal(bool* isText)
    {
        *isText = false;
        WORD first = Read<WORD>();
        if (!m_ok || first == 0) return CString();
        if (first == 0xFFFF) {
            Read<WORD>();
            return CString();
        }
        *isText = true;
        std::wstring text(1, static_cast<wchar_t>(first));
        for (;;) {
            WORD ch = Read<WORD>();
            if (!m_ok || ch == 0) break;
            text += static_cast<wchar_t>(ch);
        }
        return CString(std::move(text));
    }
    void ReadText() { bool unused = false; ReadNameOrOrdinal(&unused); }

private:
    const unsigned char* m_data;
    size_t m_size;
    size_t m_offset = 0;
    bool m_ok = true;
};

bool IsBraceClass(const CString& name)
{
    return name.GetLength() >= 2 && name.GetAt(0) == L'{' && name.GetAt(name.GetLength() - 1) == L'}';
}

} // namespace

bool SplitDialogTemplate(const void* data, size_t size, std::vector<unsigned char>& kept,
                         std::vector<DialogTemplateItem>& setAside)
{
    kept.clear();
    setAside.clear();
    if (!data) return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    Reader reader(bytes, size);
    const bool extended = size >= 4 && bytes[2] == 0xFF && bytes[3] == 0xFF;
    size_t countOffset;
    DWORD style;
    if (extended) {
        reader.Skip(4 + 4 + 4);  // version, signature, help id, extended style
        style = reader.Read<DWORD>();
        countOffset = reader.Offset();
    } else {
        style = reader.Read<DWORD>();
        reader.Skip(4);
        countOffset = reader.Offset();
    }
    WORD count = reader.Read<WORD>();
    reader.Skip(4 * sizeof(short));
    reader.ReadText();  // menu
    reader.ReadText();  // class
    reader.ReadText();  // title
    if (style & DS_SETFONT) {
        reader.Skip(extended ? 6 : 2);
        reader.ReadText();
    }
    if (!reader.Ok()) return false;
    reader.AlignTo(4);
    kept.assign(bytes, bytes + reader.Offset());

    WORD keptCount = 0;
    for (WORD i = 0; i < count; ++i) {
        size_t start = reader.Offset();
        DialogTemplateItem item;
        item.index = i;
        if (extended) {
            reader.Skip(4);
            item.exStyle = reader.Read<DWORD>();
            item.style = reader.Read<DWORD>();
        } else {
            item.style = reader.Read<DWORD>();
            item.exStyle = reader.Read<DWORD>();
        }
        item.x = reader.Read<short>();
        item.y = reader.Read<short>();
        item.cx = reader.Read<short>();
        item.cy = reader.Read<short>();
        item.id = extended ? reader.Read<DWORD>() : reader.Read<WORD>();
        bool classIsText = false;
        item.className = reader.ReadNameOrOrdinal(&classIsText);
        reader.ReadText();
        WORD extra = reader.Read<WORD>();
        size_t dataStart = reader.Offset();
        reader.Skip(extra);
        if (!reader.Ok()) return false;
        size_t end = reader.Offset();
        reader.AlignTo(4);
        if (classIsText && IsBraceClass(item.className)) {
            item.creationData.assign(bytes + dataStart, bytes + end);
            setAside.push_back(std::move(item));
            continue;
        }
        kept.insert(kept.end(), bytes + start, bytes + end);
        while (kept.size() % 4) kept.push_back(0);
        ++keptCount;
    }
    std::memcpy(&kept[countOffset], &keptCount, sizeof keptCount);
    return true;
}

bool ParseDialogInit(const void* data, size_t size, std::vector<DialogInitRecord>& records)
{
    records.clear();
    if (!data) return false;
    Reader reader(static_cast<const unsigned char*>(data), size);
    for (;;) {
        WORD id = reader.Read<WORD>();
        if (!reader.Ok()) return false;
        if (id == 0) return true;
        DialogInitRecord record;
        record.id = id;
        record.message = reader.Read<WORD>();
        DWORD length = reader.Read<DWORD>();
        size_t start = reader.Offset();
        if (!reader.Skip(length)) return false;
        const auto* bytes = static_cast<const unsigned char*>(data);
        record.data.assign(bytes + start, bytes + start + length);
        records.push_back(std::move(record));
    }
}
