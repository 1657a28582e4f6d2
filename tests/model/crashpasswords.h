#pragma once

#include <QString>

// The password of step n of the password crash child: every fourth step has none.
inline QString CrashPassword(long long step)
{
    return step % 4 == 3 ? QString() : u"pw"_qs + QString::number(step);
}
