#include "platform/firebird/Database.h"

#include "platform/firebird/Client.h"

namespace quorvel::fb {

Firebird::IMaster* master()
{
    static Firebird::IMaster* const m = Firebird::fb_get_master_interface();
    return m;
}

Firebird::IUtil* util()
{
    static Firebird::IUtil* const u = master()->getUtilInterface();
    return u;
}

QString statusText(const Firebird::IStatus* status)
{
    char buffer[2048];
    util()->formatStatus(buffer, sizeof buffer, const_cast<Firebird::IStatus*>(status));
    return QString::fromLocal8Bit(buffer).trimmed();
}

} // namespace quorvel::fb
