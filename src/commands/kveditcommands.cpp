#include "commands/kveditcommands.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"UndoA", "#1201", "#1202", "Ctrl+Z", "UNDO", false, false},
    {"RedoA", "#1203", "#1204", "Ctrl+Y", "REDO", false, false},
    {"CutA", "#1205", "#1206", "Ctrl+X", "CUT", false, false},
    {"CopyA", "#1207", "#1208", "Ctrl+C", "COPY", false, false},
    {"PasteA", "#1213", "#1214", "Ctrl+V", "PASTE", false, false},
    {"SpecialPasteA", "#1209", "#1210", "Ctrl+I", "", false, false},
    {"SelectAllA", "#1219", "#1220", "Ctrl+A", "", false, false},
    {"InsertOLEA", "#1221", "#1222", "Ctrl+P", "OBJECT", false, false},
    {"InsertDateTimeA", "#1227", "#1228", "F5", "", false, false},
    {"SearchA", "#1217", "#1218", "Ctrl+F", "FIND", false, false},
    {"ReplaceA", "#1225", "#1226", "Ctrl+G", "", false, false},
};

} // namespace

KvEditCommands::KvEditCommands(QObject* parent) : KvCommandHandler(u"KvEditCommands"_qs, parent)
{
    addActions(kCommands);
}
