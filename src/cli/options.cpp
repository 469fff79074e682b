#include "cli/options.h"

#include <CLI/CLI.hpp>
#include <cctype>
#include <cmath>
#include <memory>

#include "cli/command.h"
#include "platform/number_parse.h"
#include "platform/strformat.h"

namespace brevix::cli {

namespace {

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string joined(const std::vector<std::string>& words, const char* last) {
    std::string text;
    for (size_t i = 0; i < words.size(); ++i) {
        if (i > 0) text += i + 1 == words.size() ? last : ", ";
        text += words[i];
    }
    return text;
}

std::string rangeText(const NumberRule& rule) { return strprintf("from %g to %g", rule.low, rule.high); }

// The usage line rides on the formatter, so that --help shows it in place
// of CLI11's generic "[OPTIONS]" line and errors can find it again.
class UsageFormatter : public CLI::Formatter {
public:
    explicit UsageFormatter(std::string line) : line_(std::move(line)) {}
    std::string make_usage(const CLI::App*, std::string) const override { return "usage: " + line_ + "\n"; }
    const std::string& line() const { return line_; }

private:
    std::string line_;
};

}  // namespace

UsageError::UsageError(std::string reason) : CLI::ParseError(std::move(reason), EXIT_USAGE) {}

std::optional<double> parseNumber(std::string_view text) {
    const std::optional<double> value = wholeNumber(text, true);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return value;
}

namespace {

// `set` also gets the text as typed, for its own complaints.
CLI::Option* numberOption(CLI::App& app, const std::string& name, const std::string& help, const NumberRule& rule,
                          std::function<void(double, const std::string&)> set) {
    return app
        .add_option_function<std::string>(
            name,
            [name, rule, set = std::move(set)](const std::string& text) {
                const std::optional<double> value = parseNumber(text);
                if (!value || *value < rule.low || *value > rule.high)
                    throw UsageError(strprintf("%s takes %s %s, as %s (not '%s')", name.c_str(), rule.what,
                                               rangeText(rule).c_str(), rule.example, text.c_str()));
                set(*value, text);
            },
            help + ", " + rangeText(rule))
        ->type_name("X");
}

}  // namespace

CLI::Option* addNumber(CLI::App& app, const std::string& name, const std::string& help, const NumberRule& rule,
                       std::function<void(double)> set) {
    return numberOption(app, name, help, rule, [set = std::move(set)](double value, const std::string&) { set(value); });
}

CLI::Option* addNumber(CLI::App& app, const std::string& name, const std::string& help, const NumberRule& rule,
                       double& into) {
    return addNumber(app, name, help, rule, [&into](double value) { into = value; });
}

CLI::Option* addNumber(CLI::App& app, const std::string& name, const std::string& help, const NumberRule& rule,
                       std::optional<double>& into) {
    return addNumber(app, name, help, rule, [&into](double value) { into = value; });
}

CLI::Option* addWholeNumber(CLI::App& app, const std::string& name, const std::string& help, const NumberRule& rule,
                            const char* whole, int& into) {
    return numberOption(app, name, help, rule, [name, whole, &into](double value, const std::string& text) {
        if (value != std::floor(value))
            throw UsageError(strprintf("%s takes a whole number of %s (not '%s')", name.c_str(), whole, text.c_str()));
        into = static_cast<int>(value);
    });
}

CLI::Option* addChoice(CLI::App& app, const std::string& name, const std::string& help,
                       std::vector<std::string> words, std::string& into) {
    const std::string listed = joined(words, " or ");
    return app
        .add_option_function<std::string>(
            name,
            [name, words, listed, &into](const std::string& text) {
                for (const std::string& word : words)
                    if (lowerCase(word) == lowerCase(text)) {
                        into = word;
                        return;
                    }
                throw UsageError(strprintf("%s takes %s (not '%s')", name.c_str(), listed.c_str(), text.c_str()));
            },
            help + ": " + listed)
        ->type_name(joined(words, "|").c_str());
}

CLI::Option* addMaterial(CLI::App& app, const std::string& name, const std::string& help,
                         std::optional<optics::Material>& into) {
    return app
        .add_option_function<std::string>(
            name,
            [&into](const std::string& text) {
                into = optics::findMaterial(text);
                if (into) return;
                std::vector<std::string> names;
                for (const optics::Material& m : optics::materials()) names.push_back(m.name);
                throw UsageError(strprintf("unknown material '%s'; the materials are %s", text.c_str(),
                                           joined(names, ", ").c_str()));
            },
            help)
        ->type_name("NAME");
}

CLI::Option* addMeetTolerance(CLI::App& app, double& into) {
    // Beyond a thousandth of W a miss is a visible mismatch on the stone, not a meet.
    return addNumber(app, "--meet-tolerance",
                     "how far a plane may miss a meet and still be taken as cut to it, as a share of W "
                     "(default 0.0001)",
                     {0, 0.001, "a share of W", "0.0001"}, into)
        ->type_name("W");
}

CLI::Option* addFile(CLI::App& app, const std::string& name, const std::string& help, std::string& into) {
    return app.add_option(name, into, help)->required()->type_name("");
}

void setUsage(CLI::App& app, const std::string& line) { app.formatter(std::make_shared<UsageFormatter>(line)); }

std::string usageOf(const CLI::App& app) {
    const auto usage = std::dynamic_pointer_cast<UsageFormatter>(app.get_formatter());
    return usage ? "usage: " + usage->line() : "usage: " + app.get_name();
}

}  // namespace brevix::cli
