// make-practice-db: builds a practice database through the local Firebird server, for tests,
// the demo and benchmarks.
//
//   make-practice-db --size tiny|demo|medium|large [--seed N] PATH

#include "FirebirdClient.h"
#include "PracticeData.h"
#include "PracticeWriter.h"

#include "platform/app/Error.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

using namespace quorvel;
using namespace quorvel::practicedb;

namespace {

struct Options {
    std::string size;
    std::uint32_t seed = 1;
    std::string path;
};

const std::map<std::string, PracticeSize> generatedSizes{
    {"demo", {20, 800, 15000, 2021}},
    {"medium", {30, 6000, 100000, 2019}},
    {"large", {40, 60000, 1000000, 2015}},
};

int usage(const char* problem)
{
    std::fprintf(stderr,
                 "make-practice-db: %s\n"
                 "usage: make-practice-db --size tiny|demo|medium|large [--seed N] PATH\n",
                 problem);
    return 2;
}

std::string environment(const char* name, const char* fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

// A file already at the path is dropped through the server, never deleted behind its back.
// Only a database this tool could have made is dropped: if the server cannot attach the file,
// or the database holds tables besides the practice tables, it may be someone's real data
// (a practice database of the product itself has many more tables), so the tool stops.
void dropExisting(const std::string& connectString, const std::string& path, const Credentials& credentials)
{
    std::error_code unknown;
    if (!std::filesystem::exists(path, unknown) && !unknown)
        return;
    const QString file = QString::fromLocal8Bit(path.c_str());
    std::optional<Attachment> existing;
    try {
        existing.emplace(Attachment::attach(connectString, credentials));
    } catch (const Error& error) {
        throw Error(QStringLiteral("%1 exists and the server cannot attach it, so it is left alone:\n%2")
                        .arg(file, error.message()));
    }
    std::int64_t otherTables = 0;
    {
        Transaction look = existing->startTransaction();
        otherTables = existing->count(look, "select count(*) from rdb$relations "
                                            "where coalesce(rdb$system_flag, 0) = 0 and rdb$relation_name "
                                            "not in ('HEALTHCO', 'PATPER', 'PATTREAT')");
        look.commit();
    }
    if (otherTables > 0)
        throw Error(QStringLiteral("%1 holds tables other than HEALTHCO, PATPER and PATTREAT, so it is not a "
                                   "database this tool made and is left alone")
                        .arg(file));
    existing->drop();
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--size" && i + 1 < argc) {
            options.size = argv[++i];
        } else if (argument == "--seed" && i + 1 < argc) {
            const char* digits = argv[++i];
            char* end = nullptr;
            options.seed = static_cast<std::uint32_t>(std::strtoul(digits, &end, 10));
            if (end == digits || *end || digits[0] == '-')
                return usage("--seed needs a whole number");
        } else if (!argument.empty() && argument[0] == '-') {
            return usage(("unknown option " + argument).c_str());
        } else if (options.path.empty()) {
            options.path = argument;
        } else {
            return usage("only one PATH");
        }
    }
    if (options.path.empty())
        return usage("PATH missing");
    if (options.size != "tiny" && !generatedSizes.contains(options.size))
        return usage("--size must be tiny, demo, medium or large");

    const Credentials credentials{environment("ISC_USER", "SYSDBA"),
                                  environment("ISC_PASSWORD", "masterkey")};
    const std::string connectString = "127.0.0.1:" + options.path;
    try {
        dropExisting(connectString, options.path, credentials);
        Attachment attachment = Attachment::create(connectString, credentials);
        {
            PracticeWriter writer(attachment);
            if (options.size == "tiny")
                writeTinyPractice(writer);
            else
                writeGeneratedPractice(writer, generatedSizes.at(options.size), options.seed);
            writer.finish();
        }
        attachment.detach();
    } catch (const std::exception& error) { // quorvel::Error and the standard library's
        std::fprintf(stderr, "make-practice-db: %s\n", error.what());
        return 1;
    }
    return 0;
}
