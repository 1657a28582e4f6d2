#include "ui/tcharmapf.h"

#include "app/kvtexts.h"
#include "richtext/kvcharblocks.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

TCharMapF::TCharMapF(QWidget* parent) : QDialog(parent)
{
    setObjectName(u"CharMapF"_qs);
    setModal(false);
    setWindowTitle(KvTexts::Text(1329));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    m_blocks = new QComboBox(this);
    m_blocks->setObjectName(u"BlockCB"_qs);
    for (const KvCharBlocks::Block& b : KvCharBlocks::Blocks())
        m_blocks->addItem(KvTexts::Text(b.text));
    auto* label = new QLabel(KvTexts::Text(5977), this);
    label->setBuddy(m_blocks);
    top->addWidget(label);
    top->addWidget(m_blocks, 1);
    layout->addLayout(top);
    m_chars = new QListWidget(this);
    m_chars->setObjectName(u"CharsLV"_qs);
    m_chars->setViewMode(QListView::IconMode);
    m_chars->setMovement(QListView::Static);
    m_chars->setResizeMode(QListView::Adjust);
    m_chars->setUniformItemSizes(true);
    m_chars->setGridSize(QSize(32, 32));
    m_chars->setMinimumSize(16 * 34, 8 * 34);
    layout->addWidget(m_chars, 1);
    m_info = new QLabel(KvTexts::Text(5978), this);
    m_info->setObjectName(u"InfoL"_qs);
    layout->addWidget(m_info);
    connect(m_blocks, &QComboBox::currentIndexChanged, this, &TCharMapF::fill);
    connect(m_chars, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { ChooseRow(m_chars->row(item)); });
    connect(m_chars, &QListWidget::currentRowChanged, this, [this](int row) {
        const QListWidgetItem* item = m_chars->item(row);
        if (!item)
            return;
        const char32_t c = item->text().toUcs4().value(0);
        m_info->setText(
            u"U+%1  %2"_qs.arg(uint(c), 4, 16, QChar(u'0')).toUpper().arg(item->text()));
    });
}

void TCharMapF::SetFont(const QFont& font)
{
    m_font = font;
    m_font.setPointSize(14);
    m_chars->setFont(m_font);
    fill();
}

void TCharMapF::SelectBlock(int index)
{
    m_blocks->setCurrentIndex(index);
}

void TCharMapF::fill()
{
    m_chars->clear();
    const int index = m_blocks->currentIndex();
    if (index < 0 || index >= KvCharBlocks::Blocks().size())
        return;
    for (char32_t c : KvCharBlocks::Characters(m_font, KvCharBlocks::Blocks()[index]))
        m_chars->addItem(QString::fromUcs4(&c, 1));
    m_chars->setCurrentRow(0);
}

QStringList TCharMapF::Characters() const
{
    QStringList list;
    for (int i = 0; i < m_chars->count(); ++i)
        list << m_chars->item(i)->text();
    return list;
}

void TCharMapF::ChooseRow(int row)
{
    const QListWidgetItem* item = m_chars->item(row);
    if (!item)
        return;
    const QString c = item->text();
    QGuiApplication::clipboard()->setText(c);
    if (m_chosen)
        m_chosen(c);
}

void TCharMapF::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        m_chars->currentRow() >= 0) {
        ChooseRow(m_chars->currentRow());
        return;
    }
    QDialog::keyPressEvent(event);
}
