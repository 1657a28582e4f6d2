#include "ui/texcombobox.h"

#include "platform/kvexception.h"
#include "store/texprofilefile.h"

namespace {
const QString kCurrText = u"CurrText"_qs;

QString textKey(int i)
{
    return u"Text"_qs + QString::number(i);
}
} // namespace

TexComboBox::TexComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

void TexComboBox::AddToHistory()
{
    const QString text = currentText();
    if (text.isEmpty())
        return;
    for (int i = count() - 1; i >= 0; --i) {
        if (itemText(i).compare(text, Qt::CaseInsensitive) == 0)
            removeItem(i);
    }
    insertItem(0, text);
    setCurrentIndex(0);
    ++m_additions;
}

void TexComboBox::DeleteFromHistory()
{
    if (currentIndex() >= 0)
        removeItem(currentIndex());
    setCurrentIndex(-1);
    setEditText(QString());
}

void TexComboBox::DeleteFromHistory(const QString& text)
{
    const bool shown = currentText() == text;
    const int at = findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (at >= 0)
        removeItem(at);
    if (shown) {
        setCurrentIndex(-1);
        setEditText(QString());
    }
}

void TexComboBox::requireFile() const
{
    // The messages name SaveHistory for both directions, as the original does.
    if (m_iniFile.isEmpty())
        throw KvException(u"TexComboBox->SaveHistory: no inifile specified"_qs);
    if (m_iniSection.isEmpty())
        throw KvException(u"TexComboBox->SaveHistory: no section for inifile specified"_qs);
}

void TexComboBox::SaveHistory()
{
    requireFile();
    TexProfileFile file(m_iniFile);
    const int n = std::min(m_historyLines, m_additions);
    for (int i = 0; i < n; ++i)
        file.WriteString(m_iniSection, textKey(i), i < count() ? itemText(i) : QString());
    file.WriteString(m_iniSection, kCurrText, currentText());
    file.UpdateFile();
}

void TexComboBox::RestoreHistory()
{
    requireFile();
    const TexProfileFile file(m_iniFile);
    clear();
    m_additions = 0;
    for (int i = 0; i < m_historyLines; ++i) {
        const QString entry = file.ReadString(m_iniSection, textKey(i), QString());
        if (!entry.isEmpty()) {
            addItem(entry);
            ++m_additions;
        }
    }
    setEditText(file.ReadString(m_iniSection, kCurrText, QString()));
}
