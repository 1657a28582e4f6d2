#pragma once

#include <QComboBox>

// A drop-down box that remembers what was typed into it: its entries (most recent first)
// and its text live in a section of an INI file, under the keys "Text0", "Text1", ... and
// "CurrText". Used for path and search boxes.
class TexComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TexComboBox(QWidget* parent = nullptr);

    QString IniFile() const { return m_iniFile; }
    void SetIniFile(const QString& path) { m_iniFile = path; }
    QString IniSection() const { return m_iniSection; }
    void SetIniSection(const QString& section) { m_iniSection = section; }
    // The most entries kept (10 unless set; the options dialog uses 50).
    int HistoryLines() const { return m_historyLines; }
    void SetHistoryLines(int lines) { m_historyLines = lines; }

    // Puts the box's text at the top of the list; an entry equal to it (letter case aside)
    // goes. Nothing for an empty box.
    void AddToHistory();
    // Removes the selected entry and empties the box.
    void DeleteFromHistory();
    // Removes the entry equal to text; empties the box when it shows that text.
    void DeleteFromHistory(const QString& text);
    // Writes the entries and the text; a missing file or section raises KvException.
    void SaveHistory();
    // Reads them back (the same errors).
    void RestoreHistory();

private:
    void requireFile() const;

    QString m_iniFile;
    QString m_iniSection;
    int m_historyLines = 10;
    int m_additions = 0;
};
