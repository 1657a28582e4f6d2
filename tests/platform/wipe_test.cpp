#include "platform/kvwipe.h"

#include <gtest/gtest.h>

namespace {

// The two kinds of buffer, made from the same Latin-1 text.
template <typename Array> struct Kind;
template <> struct Kind<QByteArray>
{
    static QByteArray Make(const char* text) { return QByteArray(text); }
};
template <> struct Kind<QString>
{
    static QString Make(const char* text) { return QString::fromLatin1(text); }
};

// Whether the n units from p are all zero. The memory is still the array's: Wipe keeps
// the allocation of a buffer it overwrote.
template <typename Unit> bool AllZero(const Unit* p, qsizetype n)
{
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] != Unit(0))
            return false;
    }
    return true;
}

template <typename Array> class WipeTest : public ::testing::Test
{
};
using Arrays = ::testing::Types<QByteArray, QString>;
TYPED_TEST_SUITE(WipeTest, Arrays);

TYPED_TEST(WipeTest, OverwritesABufferHeldAlone)
{
    struct Case
    {
        const char* name;
        const char* text;
        qsizetype keep; // the size before the wipe: a shorter one leaves an old tail
    };
    const Case cases[] = {
        {"whole text", "geheimes Kennwort", 17},
        {"tail cut off before", "geheimes Kennwort", 3},
        {"emptied before", "geheimes Kennwort", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TypeParam secret = Kind<TypeParam>::Make(c.text);
        secret.detach();
        const auto* raw = secret.constData();
        const qsizetype length = secret.size();
        secret.resize(c.keep);
        const qint64 before = KvWipe::BytesWiped();
        KvWipe::Wipe(secret);
        EXPECT_TRUE(secret.isEmpty());
        EXPECT_EQ(secret.constData(), raw) << "stays allocated";
        EXPECT_TRUE(AllZero(raw, length));
        EXPECT_GE(KvWipe::BytesWiped() - before, qint64(length * sizeof(*raw)));
    }
}

TYPED_TEST(WipeTest, LetsGoOfASharedBufferUnchanged)
{
    const TypeParam other = Kind<TypeParam>::Make("geteilter Text");
    TypeParam copy = other;
    ASSERT_TRUE(copy.isSharedWith(other));
    const qint64 before = KvWipe::BytesWiped();
    KvWipe::Wipe(copy);
    EXPECT_TRUE(copy.isEmpty());
    EXPECT_EQ(other, Kind<TypeParam>::Make("geteilter Text"));
    EXPECT_EQ(KvWipe::BytesWiped(), before) << "no private copy made and overwritten";

    // Nothing of its own: empty, null, text of the program's image.
    for (TypeParam none : {TypeParam(), Kind<TypeParam>::Make(""),
                           TypeParam::fromRawData(other.constData(), other.size())}) {
        KvWipe::Wipe(none);
        EXPECT_TRUE(none.isEmpty());
    }
    EXPECT_EQ(other, Kind<TypeParam>::Make("geteilter Text"));
}

TYPED_TEST(WipeTest, UnsharedCopyCanBeWipedAlone)
{
    const TypeParam original = Kind<TypeParam>::Make("Inhalt der Seite");
    TypeParam copy = KvWipe::Unshared(original);
    EXPECT_EQ(copy, original);
    EXPECT_FALSE(copy.isSharedWith(original));
    const auto* raw = copy.constData();
    const qsizetype length = copy.size();
    KvWipe::Wipe(copy);
    EXPECT_TRUE(AllZero(raw, length));
    EXPECT_EQ(original, Kind<TypeParam>::Make("Inhalt der Seite"));
    EXPECT_TRUE(KvWipe::Unshared(TypeParam()).isNull());
}

} // namespace
