#include "IsqlScript.h"

namespace quorvel::bench {

namespace {

// Each "?" outside quotes becomes the next value, a whole day, as a date in quotes.
QByteArray withValues(const Statement& statement)
{
    QByteArray text;
    size_t next = 0;
    char quote = 0;
    for (const char c : statement.text) {
        if (quote) {
            quote = c == quote ? 0 : quote; // a doubled quote closes and opens again: the same
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '?' && next < statement.params.size()) {
            // A plain string: the server reads it as the column's type, as it reads the
            // markers, which it describes as DATE. A timestamp literal could change the plan.
            text += '\'' + statement.params[next++].date().toString(Qt::ISODate).toLatin1() + '\'';
            continue;
        }
        text += c;
    }
    return text;
}

} // namespace

QByteArray isqlScript(const std::vector<Statement>& statements)
{
    // One statement after the other in isql's one transaction: each gives its plan lines,
    // its row and one line of statistics, which is all a reader of the output has to pair.
    QByteArray script = "set plan on;\nset stats on;\nset list on;\n";
    for (const Statement& s : statements)
        script += "-- " + s.label.toUtf8() + "\n" + withValues(s) + ";\n";
    return script;
}

} // namespace quorvel::bench
