#pragma once

// The Firebird client's object API, for the layer's own files only.
#include "platform/app/Error.h"
#include "platform/firebird/Database.h"
#include "platform/firebird/Transaction.h"

#include <firebird/Interface.h>

#include <atomic>

#include <QString>

namespace quorvel::fb {

Firebird::IMaster* master();
Firebird::IUtil* util();

// The server's own text of a failed call, lines as the server gives them.
QString statusText(const Firebird::IStatus* status);

// Runs a call of the client, turning its failure into our error with the server's text.
template <typename Call>
auto call(Call&& c)
{
    Firebird::ThrowStatusWrapper status(master()->getStatus());
    struct Dispose {
        Firebird::ThrowStatusWrapper& s;
        ~Dispose() { s.dispose(); }
    } dispose{status};
    try {
        return c(&status);
    } catch (const Firebird::FbException& e) {
        throw Error(statusText(e.getStatus()));
    }
}

// Owns a reference-counted interface of the client and releases it.
template <typename I>
class Ref {
public:
    Ref() = default;
    explicit Ref(I* p) : p_(p) {}
    ~Ref() { reset(); }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    Ref(Ref&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    Ref& operator=(Ref&& o) noexcept
    {
        if (this != &o) {
            reset();
            p_ = o.p_;
            o.p_ = nullptr;
        }
        return *this;
    }
    I* get() const { return p_; }
    I* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // The interface was released by a successful close/commit/detach: forget it.
    void forget() { p_ = nullptr; }
    void reset()
    {
        if (p_)
            p_->release();
        p_ = nullptr;
    }

private:
    I* p_ = nullptr;
};

struct Database::Attachment {
    Ref<Firebird::IAttachment> handle;
    // Tells this attachment from every other one of the process, also one that a later
    // connection gets at the same address: a prepared statement belongs to one attachment.
    const quint64 serial = nextSerial();

private:
    static quint64 nextSerial()
    {
        static std::atomic<quint64> last{0};
        return ++last;
    }
};

struct Transaction::Handle {
    Ref<Firebird::ITransaction> handle;
};

// One column of a result row, as the output metadata describes it.
struct Column {
    QString name;
    unsigned type = 0;
    int scale = 0;
    unsigned length = 0;
    unsigned charset = 0;
    unsigned offset = 0;
    unsigned nullOffset = 0;
};

} // namespace quorvel::fb
