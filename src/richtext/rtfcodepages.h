#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <array>
#include <memory>
#include <unordered_map>

// Code pages of RTF text: which code page a font's \fcharset means, and decoders for them.
namespace KvRtfCodePages {

// Pseudo code page of symbol fonts (\fcharset2): bytes as windows-1252, but the Symbol
// font's bullet byte becomes U+2022.
inline constexpr int kSymbol = 2;

// Code page for \fcharset N; charset 1 (default) and unknown charsets give ansiCodePage.
int ForCharset(int charset, int ansiCodePage);
// Normalises the \ansicpg value (0 and nonsense mean windows-1252).
int NormalizeAnsi(int codePage);
// Name of a decoder Qt knows for the code page, or an empty array.
QByteArray CodecName(int codePage);

} // namespace KvRtfCodePages

// Decodes runs of bytes in one code page each; unavailable code pages read as windows-1252.
// Single-byte code pages decode through 256-entry tables that are built once per thread
// and shared by every decoder object of that thread: a parser per small file would
// otherwise pay for opening a codec and decoding 256 single bytes each time.
class KvRtfDecoders
{
public:
    // Appends the decoded bytes to out. Returns false when the code page was unavailable.
    bool Decode(int codePage, QByteArrayView bytes, QString& out);

    // The table of a single-byte code page; fallback tells that windows-1252 stands in.
    struct Table
    {
        std::array<char16_t, 256> chars{};
        bool fallback = false;
    };

private:
    struct Entry
    {
        std::unique_ptr<QStringDecoder> decoder; // multi-byte code pages only
        const Table* table = nullptr;            // owned by the thread's table cache
        bool fallback = false;
    };
    Entry& Get(int codePage);
    std::unordered_map<int, Entry> m_decoders;
    int m_lastCodePage = 0;
    Entry* m_last = nullptr;
};
