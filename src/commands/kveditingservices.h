#pragma once

#include "richtext/kvpaste.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class QAbstractButton;
class QComboBox;
class QRect;
struct KvParaDialogValues;

// The fields of the find and replace dialog.
struct KvFindFields
{
    QString term;
    QString replacement;
    bool wholeWord = false;
    bool matchCase = false;
    bool down = true;
};

// Receives the buttons of the modeless find and replace dialog.
class KvFindReplaceHandler
{
public:
    virtual ~KvFindReplaceHandler() = default;
    virtual void FindNext(const KvFindFields& fields) = 0;
    virtual void Replace(const KvFindFields& fields) = 0;
    virtual void ReplaceAll(const KvFindFields& fields) = 0;
    // The dialog closed; its fields as they were.
    virtual void Closed(const KvFindFields& fields) = 0;
};

// What the name dialog of the style commands shows and gives back.
struct KvStyleNameRequest
{
    QString title;
    QString name;
    bool nameEditable = true;
    QString message;        // a line above the buttons; empty: none
    bool attributes = true; // the attribute part is shown
    bool textAttributes = true;
    bool paraAttributes = false;
};

// The tool-bar controls and the dialogs of the editing, formatting and style commands,
// lent by the window. Every modal dialog runs through the prompt seam.
class KvEditingServices
{
public:
    virtual ~KvEditingServices() = default;

    // --- the controls (null when the window has none)
    virtual QComboBox* FontBox() const = 0;
    virtual QComboBox* SizeBox() const = 0;
    virtual QComboBox* StylesBox() const = 0;
    virtual QAbstractButton* FormatCopyButton() const = 0;
    // The icon of a style kind in the styles box: 0 text, 1 paragraph, 2 both.
    virtual QIcon StyleIcon(int kind) const = 0;
    // The colours of the two colour buttons (an invalid or transparent one: none).
    virtual QColor TextColor() const = 0;
    virtual QColor BackgroundColor() const = 0;

    // --- modal dialogs
    // The font dialog preset with a font; the chosen font, nothing when cancelled.
    virtual std::optional<QFont> ChooseFont(const QFont& initial) = 0;
    // The paragraph dialog TParaF on the values; false when cancelled.
    virtual bool EditParagraph(KvParaDialogValues& values) = 0;
    // The special-paste dialog with the kinds offered; nothing when cancelled.
    virtual std::optional<KvPaste::Kind> ChoosePasteKind(const QList<KvPaste::Kind>& kinds) = 0;
    // A picture file to insert; empty when cancelled.
    virtual QString ChoosePictureFile() = 0;
    // The name dialog TNameF in its attribute mode; false when cancelled.
    virtual bool EditStyleName(KvStyleNameRequest& request) = 0;

    // --- modeless windows
    // The character map of a font; choosing a character calls chosen with it.
    virtual void ShowCharMap(const QFont& font, std::function<void(const QString&)> chosen) = 0;
    // Opens (or brings up) the find dialog, with the replace part when replace is set.
    virtual void ShowFindDialog(bool replace, const KvFindFields& preset,
                                KvFindReplaceHandler& handler) = 0;
    virtual bool FindDialogOpen() const = 0;
    virtual void CloseFindDialog() = 0;
    // Moves the open dialog off a hit (its rectangle in screen coordinates) where the window
    // system lets programs place windows.
    virtual void MoveFindDialogOff(const QRect& hit) = 0;
};
