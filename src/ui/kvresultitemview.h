#pragma once

#include "lists/kvitemview.h"

class KvResultListView;

// An item list's rows shown in one of the window's result list views (the main result
// list, the bookmark dialog's list).
class KvResultItemView : public KvItemView
{
public:
    explicit KvResultItemView(KvResultListView& view) : m_view(view) {}

    KvResultListView& View() const { return m_view; }

    void ShowRows(const QStringList& ids, bool fullPath) override;
    bool AppendRow(const QString& id) override;
    void RemoveRows(const QSet<QString>& ids) override;
    void SwapRows(const QString& a, const QString& b) override;
    QStringList RowIds() const override;
    QString SelectedId() const override;
    void SelectId(const QString& id) override;

private:
    KvResultListView& m_view;
};
