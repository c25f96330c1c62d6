#pragma once

// The little of the Firebird client's object API the tool needs: create or drop a database,
// run DDL, and run one prepared statement many times from a message buffer. Every interface
// lives in a handle that releases it; every server error leaves as quorvel::Error.

#include <firebird/Interface.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::practicedb {

// Owns one reference-counted client interface.
template <typename Interface> class Handle {
public:
    Handle() = default;
    explicit Handle(Interface* object) : object_(object) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
    Handle& operator=(Handle&& other) noexcept
    {
        if (this != &other) {
            reset();
            object_ = other.object_;
            other.object_ = nullptr;
        }
        return *this;
    }
    ~Handle() { reset(); }

    Interface* get() const { return object_; }
    Interface* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // For calls that release the interface themselves when they succeed (commit, detach, drop).
    Interface* take()
    {
        Interface* object = object_;
        object_ = nullptr;
        return object;
    }
    void reset()
    {
        if (!object_)
            return;
        // Builders are disposable, everything else reference-counted.
        if constexpr (requires { object_->release(); })
            object_->release();
        else
            object_->dispose();
        object_ = nullptr;
    }

private:
    Interface* object_ = nullptr;
};

struct Credentials {
    std::string user;
    std::string password;
};

class Transaction;
class Statement;

class Attachment {
public:
    // A new database with page size 8192, dialect 3 and default character set NONE.
    static Attachment create(const std::string& connectString, const Credentials& credentials);
    static Attachment attach(const std::string& connectString, const Credentials& credentials);

    Attachment(Attachment&&) = default;
    ~Attachment();

    void drop();
    void detach();
    Transaction startTransaction();
    void execute(Transaction& transaction, std::string_view sql);
    Statement prepare(Transaction& transaction, std::string_view sql);
    // Runs a query that yields one row whose first column is a COUNT(*).
    std::int64_t count(Transaction& transaction, std::string_view sql);

private:
    explicit Attachment(Firebird::IAttachment* attachment) : attachment_(attachment) {}
    Handle<Firebird::IAttachment> attachment_;
};

class Transaction {
public:
    Transaction(Transaction&&) = default;
    Transaction& operator=(Transaction&&) = default;
    ~Transaction(); // rolls back what was not committed
    void commit();
    Firebird::ITransaction* get() const { return transaction_.get(); }

private:
    friend class Attachment;
    explicit Transaction(Firebird::ITransaction* transaction) : transaction_(transaction) {}
    Handle<Firebird::ITransaction> transaction_;
};

// A prepared statement with its input message: set the values, then execute.
class Statement {
public:
    Statement(Statement&&) = default;
    ~Statement();

    void setInt(unsigned index, std::int32_t value);
    void setNumeric(unsigned index, std::int64_t scaledValue); // NUMERIC(p,s) as value * 10^-s
    void setDate(unsigned index, int year, int month, int day);
    void setText(unsigned index, const char* value); // nullptr: NULL
    void setNull(unsigned index);
    void execute(Transaction& transaction);

private:
    friend class Attachment;
    Statement(Firebird::IStatement* statement, Firebird::IMessageMetadata* metadata);
    unsigned checkedType(unsigned index, unsigned expectedType) const;
    void markPresent(unsigned index);

    Handle<Firebird::IStatement> statement_;
    Handle<Firebird::IMessageMetadata> metadata_;
    std::vector<unsigned char> buffer_;
};

} // namespace quorvel::practicedb
