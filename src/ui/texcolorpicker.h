#pragma once

#include <QColor>
#include <QToolButton>

class QAction;
class QColorDialog;

// A toolbar colour picker: the button applies the current colour through its action,
// the drop-down offers a palette and a custom colour entry.
class TexColorPicker : public QToolButton
{
    Q_OBJECT
public:
    static inline const QString ColorDialogName = u"ColorDialog"_qs;

    explicit TexColorPicker(QWidget* parent = nullptr);
    // The colour dialog of the custom entry while it runs (through the prompter).
    static QColorDialog* ActiveColorDialog();

    // The command the button runs; it shows the current colour as its image.
    void SetAction(QAction* action);
    QColor CurrentColor() const { return m_color; }
    void SetCurrentColor(const QColor& color);
    // The drop-down entry that opens the colour dialog (caption resolved by the window).
    QAction* CustomColorEntry() const { return m_custom; }

Q_SIGNALS:
    void ColorChosen(const QColor& color);

private:
    void choose(const QColor& color);
    void updateSwatch();

    QColor m_color;
    QAction* m_custom = nullptr;
};
