#pragma once

#include "richtext/rtfparser.h"

#include <QHash>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;
class QTextList;
class QTextTable;

// Builds a QTextDocument from what KvRtfParser reads.
class KvRtfDocumentSink : public KvRtfSink
{
public:
    explicit KvRtfDocumentSink(QTextDocument* doc);
    void SetParser(const KvRtfParser* parser) { m_parser = parser; }

    void Text(QStringView text, const KvRtfCharState& cs) override;
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
    KvRtfCharState m_lastCs;
    QTextCharFormat m_lastFormat;
    bool m_haveFormat = false;
    QHash<qint64, QTextList*> m_lists;
    qint64 m_lastListKey = 0;
    QTextList* m_lastList = nullptr;
    int m_images = 0;
};
