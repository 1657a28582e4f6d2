#pragma once

#include "richtext/rtfparser.h"

#include <QHash>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <array>

class QTextDocument;
class QTextList;
class QTextTable;

// Builds a QTextDocument from what KvRtfParser reads.
class KvRtfDocumentSink : public KvRtfSink
{
public:
    explicit KvRtfDocumentSink(QTextDocument* doc);
    void SetParser(const KvRtfParser* parser) { m_parser = parser; }

    void Text(QStringView text, const KvRtfCharState& cs, bool ascii) override;
    void Picture(const KvRtfPicture& picture, const KvRtfCharState& cs) override;
    void EndBlock(const KvRtfParaState& para) override;
    void NewBlock() override;
    void BeginTable(int columns) override;
    void NextCell(int row, int column) override;
    void EndTable() override;

    QStringList warnings;

private:
    const QTextCharFormat& CharFormat(const KvRtfCharState& cs);
    QTextBlockFormat BlockFormat(const KvRtfParaState& para) const;
    void AddToList(const KvRtfParaState& para);

    QTextDocument* m_doc;
    const KvRtfParser* m_parser = nullptr;
    QTextCursor m_cursor;
    QTextTable* m_table = nullptr;
    // The formats of the last few character states: documents alternate between a handful.
    struct CachedFormat
    {
        KvRtfCharState cs;
        QTextCharFormat format;
        bool valid = false;
    };
    std::array<CachedFormat, 8> m_formats;
    size_t m_nextFormat = 0;
    QTextBlockFormat m_lastBlockFormat;
    QHash<qint64, QTextList*> m_lists;
    qint64 m_lastListKey = 0;
    QTextList* m_lastList = nullptr;
    int m_images = 0;
};
