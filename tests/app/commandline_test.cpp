#include "app/kvcommandline.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char* name;
    QStringList args;
    QString action;
    bool newWindow;
    QString startDir;
    QString pendingId;
};

class CommandLine : public ::testing::TestWithParam<Case>
{
};

TEST_P(CommandLine, Parses)
{
    const Case& c = GetParam();
    const KvCommandLine cl = KvCommandLine::Parse(c.args);
    EXPECT_EQ(cl.action, c.action);
    EXPECT_EQ(cl.newWindow, c.newWindow);
    EXPECT_EQ(cl.startDir, c.startDir);
    EXPECT_EQ(cl.pendingId, c.pendingId);
}

const Case kCases[] = {
    {"none", {}, {}, false, {}, {}},
    {"newWindow", {u"/new_window"_qs}, u"/new_window"_qs, true, {}, {}},
    {"newWindowIsCaseSensitive", {u"/NEW_WINDOW"_qs}, {}, false, {}, {}},
    {"dirOnly", {u"/d"_qs, u"/data/notes"_qs}, u"/d"_qs, false, u"/data/notes"_qs, {}},
    {"dirWithPage",
     {u"/d"_qs, u"/n"_qs, u"/id"_qs, u"Page0000012"_qs},
     u"/d"_qs,
     false,
     u"/n"_qs,
     u"Page0000012"_qs},
    {"readOnly",
     {u"/dr"_qs, u"/n"_qs, u"/id"_qs, u"Fldr0000003"_qs},
     u"/dr"_qs,
     false,
     u"/n"_qs,
     u"Fldr0000003"_qs},
    {"fullAccess", {u"/dw"_qs, u"/n"_qs}, u"/dw"_qs, false, u"/n"_qs, {}},
    {"emptyDirIgnoresAll", {u"/d"_qs, QString(), u"/id"_qs, u"Page0000001"_qs}, {}, false, {}, {}},
    {"missingDirIgnoresAll", {u"/dr"_qs}, {}, false, {}, {}},
    {"unknownIdIgnored",
     {u"/d"_qs, u"/n"_qs, u"/id"_qs, u"Note42"_qs},
     u"/d"_qs,
     false,
     u"/n"_qs,
     {}},
    {"trashIdAccepted",
     {u"/d"_qs, u"/n"_qs, u"/id"_qs, u"TrashFolder"_qs},
     u"/d"_qs,
     false,
     u"/n"_qs,
     u"TrashFolder"_qs},
    {"topIdAccepted",
     {u"/d"_qs, u"/n"_qs, u"/id"_qs, u"TopFolder"_qs},
     u"/d"_qs,
     false,
     u"/n"_qs,
     u"TopFolder"_qs},
    {"idNeedsSlashId",
     {u"/d"_qs, u"/n"_qs, u"id"_qs, u"Page0000001"_qs},
     u"/d"_qs,
     false,
     u"/n"_qs,
     {}},
    {"pageFile",
     {u"/data/notes/Page0000012.kvp"_qs},
     u"/d"_qs,
     false,
     u"/data/notes/"_qs,
     u"Page0000012"_qs},
    {"otherFileIgnored", {u"/data/notes/readme.txt"_qs}, {}, false, {}, {}},
    {"unknownAction", {u"/x"_qs, u"/n"_qs}, {}, false, {}, {}},
};

INSTANTIATE_TEST_SUITE_P(Forms, CommandLine, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
