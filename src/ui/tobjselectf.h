#pragma once

#include <QDialog>

class KvElementTreeModel;
class KvFolder;
class KvObject;
class QPushButton;
class QTreeView;
class QTreeWidget;

// The chooser of a folder, a page or either, over the notebook as the navigation tree
// shows it: the same images, font and indent, folders expanded as there. Runs through the
// prompter, so that tests can answer it: while it runs, Active() is the dialog.
class TObjSelectF : public QDialog
{
    Q_OBJECT
public:
    static inline const QString DialogName = u"TObjSelectF"_qs;
    static inline const QString PlaceSection = u"ObjSelectF"_qs;
    static constexpr int HelpContext = 1000;
    // The kinds: a folder, a page, either (empty).
    static inline const QString KindFolder = u"Fldr"_qs;
    static inline const QString KindPage = u"Page"_qs;

    // roots: the top folder and the trash. look: the navigation tree, whose font, indent
    // and expanded nodes the chooser takes (may be null).
    TObjSelectF(const QList<KvFolder*>& roots, const QString& kind, const QString& preselectId,
                const QTreeWidget* look, QWidget* parent = nullptr);
    ~TObjSelectF() override;

    // The title of a kind: 13001 folder, 13002 page, 13000 either.
    static int TitleText(const QString& kind);
    // Whether OK may be pressed with a node of that kind selected (null: none).
    static bool OkAllowed(const QString& kind, const KvObject* selected);

    const QString& Kind() const { return m_kind; }
    KvObject* Selected() const;
    // Selects the element's node (expanding its ancestors); false when the chooser has none.
    bool Select(const QString& id);
    bool OkEnabled() const;
    QTreeView* Tree() const { return m_tree; }

    // Shows the dialog through the prompter; the chosen element, or null when cancelled.
    KvObject* Execute();
    static TObjSelectF* Active();

    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void expandAsIn(const QTreeWidget* look);
    void updateOk();

    QString m_kind;
    KvElementTreeModel* m_model = nullptr;
    QTreeView* m_tree = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_placed = false;
};
