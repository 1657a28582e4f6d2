#include "app/kvtexts.h"
#include "ui/kvlanguageinit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QWidget>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

TEST(KvLanguageInit, CaptionsAndChoiceItems)
{
    EXPECT_EQ(KvLanguageInit::Caption(u"Datei#1000"_qs), u"Datei"_qs);
    EXPECT_EQ(KvLanguageInit::Caption(u"10023"_qs), u"10023"_qs);
    EXPECT_EQ(KvLanguageInit::ChoiceItem(u"10023"_qs), KvTexts::Text(10023));
    EXPECT_EQ(KvLanguageInit::ChoiceItem(u"Reiter#10131"_qs), u"Reiter mehrzeilig"_qs);
    EXPECT_EQ(KvLanguageInit::ChoiceItem(u"Eintrag"_qs), u"Eintrag"_qs);
}

TEST(KvLanguageInit, Hints)
{
    KvHint h = KvLanguageInit::Hint(u"Styles#3114"_qs);
    EXPECT_EQ(h.tooltip, u"Textformate"_qs);
    EXPECT_EQ(h.statusText, u"Textformate anwenden / verwalten"_qs);
    h = KvLanguageInit::Hint(u"16006"_qs, true);
    EXPECT_TRUE(h.tooltip.isEmpty());
    EXPECT_EQ(h.statusText, u"Mit einem Doppelklick wird die Seite bzw. der Ordner angezeigt"_qs);
    h = KvLanguageInit::Hint(u"Stop"_qs, true);
    EXPECT_TRUE(h.tooltip.isEmpty());
    EXPECT_TRUE(h.statusText.isEmpty());
    h = KvLanguageInit::Hint(u"Nur ein Text"_qs);
    EXPECT_EQ(h.tooltip, u"Nur ein Text"_qs);
    EXPECT_EQ(h.statusText, u"Nur ein Text"_qs);
}

TEST(KvLanguageInit, ActionsAreResolvedOnce)
{
    QWidget window;
    auto* action = new QAction(u"Styles#1233"_qs, &window);
    action->setStatusTip(u"#1236"_qs);
    KvLanguageInit::ResolveAction(action);
    EXPECT_EQ(action->text(), u"Anwenden"_qs);
    EXPECT_EQ(action->toolTip(), u"Anlegen"_qs);
    EXPECT_EQ(action->statusTip(), u"Neues Textformat anhand der aktuellen Markierung anlegen"_qs);

    // A reference written as the tooltip; the caption alone gives no hint.
    auto* tipped = new QAction(u"Styles#1233"_qs, &window);
    tipped->setToolTip(u"#3114"_qs);
    auto* untipped = new QAction(u"Styles#1235"_qs, &window);
    KvLanguageInit::ResolveAction(tipped);
    KvLanguageInit::ResolveAction(untipped);
    EXPECT_EQ(tipped->toolTip(), u"Textformate"_qs);
    EXPECT_EQ(tipped->statusTip(), u"Textformate anwenden / verwalten"_qs);
    EXPECT_EQ(untipped->text(), u"Anlegen..."_qs);
    EXPECT_TRUE(untipped->statusTip().isEmpty());

    // Shared by two menus: a caption that holds "#" after resolving stays as it is.
    auto* shared = new QAction(u"Label#x#1000"_qs, &window);
    QMenu a(u"#1000"_qs);
    QMenu b(u"#1100"_qs);
    a.addAction(shared);
    b.addAction(shared);
    KvLanguageInit::ResolveMenu(&a);
    KvLanguageInit::ResolveMenu(&b);
    EXPECT_EQ(shared->text(), u"x#1000"_qs);
    EXPECT_EQ(a.title(), u"Datei"_qs);
    EXPECT_EQ(b.title(), u"Ordner"_qs);
}

TEST(KvLanguageInit, MenusDownToTheirDepth)
{
    QMenuBar bar;
    QMenu* file = bar.addMenu(u"PageM#1000"_qs);
    QMenu* port = file->addMenu(u"ImpExpMI#1027"_qs);
    QMenu* exp = port->addMenu(u"ExportMI#1031"_qs);
    QAction* current = exp->addAction(u"#1040"_qs);
    file->addSeparator();
    QAction* exit = file->addAction(u"ExitMI#1015"_qs);
    exit->setProperty(KvLanguageInit::HintProperty, u"#1016"_qs);
    KvLanguageInit::ResolveMenu(file);
    EXPECT_EQ(file->title(), u"Datei"_qs);
    EXPECT_EQ(exp->title(), u"Exportieren..."_qs);
    EXPECT_EQ(current->text(), u"Aktuelle Seite..."_qs);
    EXPECT_EQ(exit->text(), u"Beenden"_qs);
    EXPECT_EQ(exit->statusTip(), KvTexts::SplitHint(KvTexts::Text(1016)).statusText);
    EXPECT_FALSE(exit->property(KvLanguageInit::HintProperty).isValid());
}

TEST(KvLanguageInit, WidgetTree)
{
    QWidget dialog;
    dialog.setWindowTitle(u"TPasswordF#17010"_qs);
    auto* ok = new QPushButton(u"#4000"_qs, &dialog);
    auto* cancel = new QPushButton(u"#4001"_qs, &dialog);
    cancel->setStatusTip(u"5901"_qs);
    cancel->setProperty(KvLanguageInit::BareHintProperty, true);
    auto* label = new QLabel(u"Lbl#17002"_qs, &dialog);
    auto* plain = new QLabel(u"Abbrechen"_qs, &dialog);
    auto* box = new QCheckBox(u"AttrCB#4020"_qs, &dialog);
    box->setStatusTip(u"#4021"_qs);
    auto* group = new QGroupBox(u"AttrGB#4019"_qs, &dialog);
    auto* radio = new QRadioButton(u"11048"_qs, group);
    auto* combo = new QComboBox(&dialog);
    combo->addItems({u"10131"_qs, u"10132"_qs, u"Eigener Eintrag"_qs});
    auto* tabs = new QTabWidget(&dialog);
    tabs->addTab(new QWidget, u"LayoutTS#11000"_qs);
    auto* tree = new QTreeWidget(&dialog);
    tree->setHeaderLabels({u"#5000"_qs, u"#5001"_qs});
    auto* tipped = new QPushButton(u"Stop"_qs, &dialog);
    tipped->setToolTip(u"3130"_qs);
    tipped->setProperty(KvLanguageInit::BareHintProperty, true);
    auto* plainTip = new QPushButton(u"x"_qs, &dialog);
    plainTip->setToolTip(u"Nur ein Tooltip"_qs);
    auto* bare = new QLabel(u"0"_qs, &dialog);
    bare->setStatusTip(u"ShowFullPath#16006"_qs);

    KvLanguageInit::ResolveWidgetTree(&dialog);
    KvLanguageInit::ResolveWidgetTree(&dialog); // a second run changes nothing

    EXPECT_EQ(dialog.windowTitle(), u"Passwort:"_qs);
    EXPECT_EQ(ok->text(), u"OK"_qs);
    EXPECT_EQ(cancel->text(), u"Abbrechen"_qs);
    EXPECT_EQ(cancel->toolTip(), u"Änderung der Einstellungen verwerfen"_qs);
    EXPECT_EQ(cancel->statusTip(), u"Änderung der Einstellungen verwerfen"_qs);
    EXPECT_EQ(label->text(), u"Bitte geben Sie hier das Passwort für die Seite ein."_qs);
    EXPECT_EQ(plain->text(), u"Abbrechen"_qs);
    EXPECT_EQ(box->text(), u"Textattribute"_qs);
    EXPECT_EQ(box->toolTip(), KvTexts::SplitHint(KvTexts::Text(4021)).tooltip);
    EXPECT_EQ(group->title(), u"Textformat enthält..."_qs);
    EXPECT_EQ(radio->text(), u"bei jedem Aufruf"_qs);
    EXPECT_EQ(combo->itemText(0), u"Reiter mehrzeilig"_qs);
    EXPECT_EQ(combo->itemText(1), u"Reiter einzeilig"_qs);
    EXPECT_EQ(combo->itemText(2), u"Eigener Eintrag"_qs);
    EXPECT_EQ(tabs->tabText(0), u"Layout"_qs);
    EXPECT_EQ(tree->headerItem()->text(0), u"Seite"_qs);
    EXPECT_EQ(tree->headerItem()->text(1), u"Ordner"_qs);
    EXPECT_EQ(tipped->toolTip(), u"Suche anhalten"_qs);
    EXPECT_EQ(tipped->statusTip(), u"Laufende Suche anhalten"_qs);
    EXPECT_EQ(plainTip->toolTip(), u"Nur ein Tooltip"_qs);
    EXPECT_TRUE(plainTip->statusTip().isEmpty());
    EXPECT_EQ(bare->text(), u"0"_qs);
    EXPECT_TRUE(bare->toolTip().isEmpty());
    EXPECT_EQ(bare->statusTip(),
              u"Mit einem Doppelklick wird die Seite bzw. der Ordner angezeigt"_qs);
}

} // namespace
