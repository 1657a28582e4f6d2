#include "commands/kvtextcommands.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"FontA", "#1211", "#1212", "", "", false, false},
    {"ParagraphA", "#1255", "#1256", "", "", false, false},
    {"FormatCopyA", "#1253", "#1254", "", "FORMATCOPY", false, false},
    {"BoldTextA", "", "#3102", "Ctrl+Shift+F", "BOLD", true, false},
    {"ItalicTextA", "", "#3103", "Ctrl+Shift+K", "ITALIC", true, false},
    {"UnderlineTextA", "", "#3104", "Ctrl+Shift+U", "UNDERLINE", true, false},
    {"StrikeThroughTextA", "", "#3105", "Ctrl+Shift+D", "STRIKETHROUGH", true, false},
    {"ParaAlignLeftA", "", "#3109", "", "ALIGNLEFT", true, false},
    {"ParaAlignCenterA", "", "#3110", "", "ALIGNCENTER", true, false},
    {"ParaAlignRightA", "", "#3111", "", "ALIGNRIGHT", true, false},
    {"ParaIndentLessA", "", "#3112", "", "INDENTLEFT", false, false},
    {"ParaIndentMoreA", "", "#3113", "", "INDENTRIGHT", false, false},
    {"ParaBulletA", "", "#3115", "", "BULLET", true, false},
    {"ChangeFontColorA", "", "#3106", "", "", false, false},
    {"ChangeBGColorA", "", "#3107", "", "", false, false},
    {"BGColorResetA", "", "#3108", "", "RESET", false, false},
};

} // namespace

KvTextCommands::KvTextCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvTextCommands"_qs, services, parent)
{
    addActions(kCommands);
}
