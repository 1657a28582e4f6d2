#pragma once

#include <QDialog>
#include <QFont>
#include <functional>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;

// The character map: the characters of a font by Unicode block. A double click or Enter on
// one copies it to the clipboard and hands it to the chooser (which inserts it on a page
// that may be changed). Modeless.
class TCharMapF : public QDialog
{
    Q_OBJECT
public:
    explicit TCharMapF(QWidget* parent = nullptr);

    void SetFont(const QFont& font);
    void SetChooser(std::function<void(const QString&)> chosen) { m_chosen = std::move(chosen); }
    // Selects a block by its index in KvCharBlocks::Blocks().
    void SelectBlock(int index);
    // The characters shown.
    QStringList Characters() const;
    // Copies and hands on the character of a row.
    void ChooseRow(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fill();

    QFont m_font;
    std::function<void(const QString&)> m_chosen;
    QComboBox* m_blocks = nullptr;
    QListWidget* m_chars = nullptr;
    QLabel* m_info = nullptr;
};
