#include "PracticeData.h"

#include "fixtures/TinyPractice.h"

#include <array>
#include <chrono>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace quorvel::practicedb {

void writeTinyPractice(PracticeWriter& writer)
{
    namespace tiny = fixtures::tiny;
    for (const tiny::Company& c : tiny::companies)
        writer.company(c.comNumber, c.name, c.address1, c.phone);
    for (const tiny::Patient& p : tiny::patients)
        writer.patient(p.accNumber, p.surname, p.firstName, p.comNumber, p.referral);
    for (const tiny::Treatment& t : tiny::treatments)
        writer.treatment(t.treatNumber, t.accNumber, {t.date.year, t.date.month, t.date.day}, t.chargeCents,
                         t.isHealthTreat, t.description);
}

namespace {

constexpr std::array companyPrefixes{"Albion",   "Beacon",    "Cedar",   "Crown",    "Evergreen",
                                     "Harbour",  "Keystone",  "Lantern", "Meridian", "Oakfield",
                                     "Pennine",  "Riverside", "Summit",  "Thistle",  "Unity",
                                     "Westgate", "Heritage",  "Kestrel", "Sterling", "Wessex"};
constexpr std::array companySuffixes{"Health", "Mutual", "Assurance", "Medical", "Care", "Insurance"};
constexpr std::array streets{"High Street", "Station Road",    "Church Lane", "Park Avenue",
                             "Mill Road",   "Victoria Street", "Queens Road", "Bridge Street"};
constexpr std::array towns{"Leeds", "York", "Bristol", "Exeter", "Norwich", "Chester", "Durham", "Bath"};
constexpr std::array surnames{"Smith",   "Jones",    "Taylor", "Brown",    "Williams", "Wilson",  "Johnson",
                              "Davies",  "Robinson", "Wright", "Thompson", "Evans",    "Walker",  "White",
                              "Roberts", "Green",    "Hall",   "Wood",     "Jackson",  "Clarke",  "Patel",
                              "Khan",    "Lewis",    "Murphy", "O'Brien",  "Hughes",   "Edwards", "Turner"};
constexpr std::array firstNames{"Oliver", "Amelia", "George", "Isla",   "Harry",  "Ava",    "Jack",
                                "Mia",    "Noah",   "Grace",  "Leo",    "Sophie", "Arthur", "Lily",
                                "Thomas", "Emily",  "James",  "Ella",   "Henry",  "Freya",  "Liam",
                                "Chloe",  "Ethan",  "Ruby",   "Samuel", "Zara",   "David",  "Anne"};
// GP referrals, one with a quote and one with a Windows-1252 byte (0xFC, u-umlaut).
constexpr std::array gps{"Dr Patel",
                         "Dr O'Neill",
                         "Dr Smith",
                         "Dr Williams",
                         "Dr Chen",
                         "Dr Okafor",
                         "Dr Evans",
                         "Dr Murphy",
                         "Dr Singh",
                         "Dr M\xFC"
                         "ller",
                         "Dr Fraser",
                         "Dr Kowalski",
                         "Dr Nguyen",
                         "Dr Reid",
                         "Dr Brennan",
                         "Dr Adeyemi"};
// A practice refers to more consultants than the benchmark ticks on one page (twenty values).
constexpr std::array consultants{"Mr Hughes (Ortho)",   "Ms Khan (Derm)",    "Mr Davies (Neuro)",
                                 "Miss Taylor (Rheum)", "Mr Ahmed (Spine)",  "Dr Lewis (Sports)",
                                 "Mr Grant (Cardio)",   "Ms Lee (Physio)",   "Dr Novak (Pain)",
                                 "Mr Shah (Hand)"};
constexpr std::array descriptions{"Initial assessment", "Physiotherapy session", "Sports massage",
                                  "Acupuncture",        "Hydrotherapy",          "Exercise class",
                                  "Follow-up review",   "Gait analysis"};

class Draw {
public:
    explicit Draw(std::uint32_t seed) : engine_(seed) {}
    // A whole number in [0, count); the slight modulo bias does not matter for made-up data.
    int below(int count) { return static_cast<int>(engine_() % static_cast<std::uint32_t>(count)); }
    bool percent(int chance) { return below(100) < chance; }
    template <typename Array> auto from(const Array& values) { return values[below(int(values.size()))]; }

private:
    std::mt19937 engine_;
};

} // namespace

void writeGeneratedPractice(PracticeWriter& writer, const PracticeSize& size, std::uint32_t seed)
{
    Draw draw(seed);

    for (int i = 0; i < size.companies; ++i) {
        const int prefixes = int(companyPrefixes.size());
        const std::string name = std::string(companyPrefixes[i % prefixes]) + " " +
                                 companySuffixes[(i + i / prefixes) % companySuffixes.size()];
        const std::string address =
            std::to_string(1 + draw.below(200)) + " " + draw.from(streets) + ", " + draw.from(towns);
        const std::string phone =
            "01" + std::to_string(100 + draw.below(900)) + " " + std::to_string(100000 + draw.below(900000));
        writer.company(i + 1, name.c_str(), address.c_str(), phone.c_str());
    }

    const int firstAccount = 1000;
    std::vector<bool> insured(size_t(size.patients));
    for (int i = 0; i < size.patients; ++i) {
        std::optional<int> company;
        if (draw.percent(85))
            company = 1 + draw.below(size.companies);
        insured[size_t(i)] = company.has_value();
        const int kind = draw.below(100);
        const char* referral = kind < 55   ? draw.from(gps)
                               : kind < 80 ? draw.from(consultants)
                               : kind < 92 ? "Self"
                               : kind < 97 ? nullptr
                                           : "";
        writer.patient(firstAccount + i, draw.from(surnames), draw.from(firstNames), company, referral);
    }

    using namespace std::chrono;
    const sys_days first = year{size.firstYear} / January / 1;
    const sys_days last = year{2024} / December / 31;
    const int days = int((last - first).count()) + 1;
    for (int i = 0; i < size.treatments; ++i) {
        const int patient = draw.below(size.patients);
        const year_month_day date{first + std::chrono::days{draw.below(days)}};
        const long long charge = 3500 + 50LL * draw.below(171); // 35.00 to 120.00
        const char flag = insured[size_t(patient)] && draw.percent(80) ? '1' : '0';
        writer.treatment(i + 1, firstAccount + patient,
                         {int(date.year()), int(unsigned(date.month())), int(unsigned(date.day()))}, charge,
                         flag, draw.from(descriptions));
    }
}

} // namespace quorvel::practicedb
