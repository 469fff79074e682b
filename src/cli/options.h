#pragma once
// The pieces every command builds its command line from, so that all of
// them read numbers, words and materials alike and word their complaints
// alike: "--size takes a number from 8 to 4096, as 512 (not '3')".
// Everything here is checked while the command line is read; a wrong value
// is a usage error (exit status 2) before any work starts.
#include <CLI/App.hpp>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "optics/materials.h"

namespace brevix::cli {

// A wrong use of the command line: reported with the command's usage line,
// exit status 2. A command may throw it before it starts its work, for
// options that do not go together.
class UsageError : public CLI::ParseError {
public:
    explicit UsageError(std::string reason);
};

// A number's allowed range and how to say what it is ("millimetres",
// "a number", "degrees") with an example ("6.5").
struct NumberRule {
    double low, high;
    const char* what;
    const char* example;
};

// A number given as "--name VALUE" or "--name=VALUE", in plain decimal
// notation with an optional sign and exponent ("6.5", "+10", "-2e1"; not
// "6,5", "0x10", "inf"), within the rule's range.
std::optional<double> parseNumber(std::string_view text);
CLI::Option* addNumber(CLI::App& app, const std::string& name, const std::string& help, const NumberRule& rule,
                       std::function<void(double)> set);
CLI::Option* addNumber(CLI::App& app, const std::string& name, const std::string& help, const NumberRule& rule,
                       double& into);
CLI::Option* addNumber(CLI::App& app, const std::string& name, const std::string& help, const NumberRule& rule,
                       std::optional<double>& into);
// The same for a whole number; `whole` says what it counts ("pixels").
CLI::Option* addWholeNumber(CLI::App& app, const std::string& name, const std::string& help, const NumberRule& rule,
                            const char* whole, int& into);

// One of `words`, typed in any case; `into` gets the word as listed.
CLI::Option* addChoice(CLI::App& app, const std::string& name, const std::string& help,
                       std::vector<std::string> words, std::string& into);

// A material of the list by name, in any case ("diamond").
CLI::Option* addMaterial(CLI::App& app, const std::string& name, const std::string& help,
                         std::optional<optics::Material>& into);

// --meet-tolerance W: how far (a share of the stone's width) a plane may
// miss a meet of earlier facets and still be taken as cut to it.
CLI::Option* addMeetTolerance(CLI::App& app, double& into);

// Positional arguments: NAME in the usage line, required.
CLI::Option* addFile(CLI::App& app, const std::string& name, const std::string& help, std::string& into);

// The usage line shown by --help and after a usage error:
// "usage: brevix-cli db search DBF [FIELD=TEXT ...]".
void setUsage(CLI::App& app, const std::string& line);
std::string usageOf(const CLI::App& app);

}  // namespace brevix::cli
