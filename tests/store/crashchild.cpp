// Writes through a property store without pause until it is killed; the crash test checks
// what it leaves behind. Arguments: base path, first generation, number of sections.
// Every generation gives all keys of a section the same value and flushes after each
// section; odd generations add the key "extra", even ones delete it by rewriting.
#include "store/texinifile.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    const QString base = QString::fromLocal8Bit(argv[1]);
    long long gen = QByteArray(argv[2]).toLongLong();
    const int sections = QByteArray(argv[3]).toInt();
    TexIniFile store(base, 2, true);
    bool announced = false;
    for (;;) {
        ++gen;
        const QString value = u"g"_qs + QString::number(gen);
        for (int s = 1; s <= sections; ++s) {
            const QString section = u"Page%1"_qs.arg(s, 7, 10, QLatin1Char('0'));
            for (int k = 0; k < 10; ++k)
                store.WriteString(section, u"k"_qs + QString::number(k), value + u"-padding"_qs);
            if (gen % 2)
                store.WriteString(section, u"extra"_qs, value + u"-padding"_qs);
            else
                store.DeleteKeyRewrite(section, u"extra"_qs);
            store.UpdateFile();
        }
        if (!announced) {
            std::fputs("ready\n", stdout);
            std::fflush(stdout);
            announced = true;
        }
    }
}
