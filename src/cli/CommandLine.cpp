#include "cli/CommandLine.h"

#include "fit/CurveModels.h"
#include "stats/PredictionTable.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>
#include <stdexcept>

namespace lumetra::cli {
namespace {

constexpr size_t kWidth = 100;
constexpr size_t kSummaryColumn = 16; // of the usage text
constexpr size_t kHelpColumn = 24;    // of a command's --help

// lumetra-cli has no short option but -h, and a word with one leading dash has always been a
// value: a negative number such as -.5, or a file name. The parser would take it for an unknown
// option, so it is marked before parsing and unmarked as each value is read.
constexpr char kDashMark = '\x1f';

std::string MarkDashWord(const std::string& word) {
    const bool oneDash = word.size() > 1 && word[0] == '-' && word[1] != '-';
    return oneDash && word != "-h" ? kDashMark + word : word;
}

const CLI::Validator kUnmark(
    [](std::string& value) {
        if (!value.empty() && value[0] == kDashMark)
            value.erase(0, 1);
        return std::string();
    },
    "");

// A word refused with a message of its own rather than with the command's usage.
class RefusedWord : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

CLI::Validator OneOf(std::vector<std::string> words) {
    return CLI::Validator(
        [words](const std::string& value) {
            return std::find(words.begin(), words.end(), value) == words.end() ? "not one of them"
                                                                               : "";
        },
        "");
}

const CLI::Validator
    kNotEmpty([](const std::string& value) { return value.empty() ? "empty" : ""; }, "");

const CLI::Validator kLevel(
    [](const std::string& value) {
        double level = 0.0;
        if (!ReadLevel(value, level))
            throw RefusedWord("lumetra-cli: the level must be a number between 0 and 1, such as "
                              "0.95");
        return "";
    },
    "");

const CLI::Validator kPositive(
    [](const std::string& value) {
        double number = 0.0;
        if (!ReadFiniteValue(value, number) || !(number > 0.0))
            throw RefusedWord(
                "lumetra-cli: the standard deviation must be a number above 0, not '" + value +
                "'");
        return "";
    },
    "");

const CLI::Validator kNumber(
    [](const std::string& value) {
        double number = 0.0;
        if (!ReadFiniteValue(value, number))
            throw RefusedWord("lumetra-cli: '" + value + "' is not a number");
        return "";
    },
    "");

std::string Join(const std::vector<std::string>& words, const char* between) {
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : between) + word;
    return text;
}

std::vector<std::string> ModelWords() {
    std::vector<std::string> words;
    for (const CurveModel& model : CurveModels())
        words.push_back(model.cliName);
    return words;
}

const std::vector<std::string> kMethodWords = {"classic", "accurate"};

// The declaration's building blocks. Every word of a value goes through kUnmark first.
CLI::Option* Positional(CLI::App* command, const char* name, std::string& into, const char* what) {
    return command->add_option(name, into, what)
        ->required()
        ->type_name("")
        ->transform(kUnmark)
        ->check(kNotEmpty);
}

CLI::Option* Positionals(CLI::App* command, const char* name, std::vector<std::string>& into,
                         const char* what) {
    return command->add_option(name, into, what)->required()->type_name("")->transform(kUnmark);
}

template <class Take>
CLI::Option* Valued(CLI::App* command, const char* name, const char* valueName, const char* what,
                    Take take) {
    return command->add_option_function<std::string>(name, take, what)
        ->type_name(valueName)
        ->transform(kUnmark);
}

CLI::Option* Named(CLI::App* command, const char* name, const char* valueName, std::string& into,
                   const char* what) {
    return command->add_option(name, into, what)
        ->type_name(valueName)
        ->transform(kUnmark)
        ->check(kNotEmpty);
}

template <class Take>
CLI::Option* Choice(CLI::App* command, const char* name, const std::vector<std::string>& words,
                    const char* what, Take take) {
    return Valued(command, name, Join(words, "|").c_str(), what, take)->check(OneOf(words));
}

CLI::Option* Title(CLI::App* command, const char* name, std::optional<std::string>& into,
                   const char* what) {
    return Valued(command, name, "T", what, [&into](const std::string& v) { into = v; });
}

CLI::Option* Method(CLI::App* command, Arguments& a) {
    return Choice(command, "--method", kMethodWords,
                  "classic: the normal equations; accurate: an orthogonal factorization",
                  [&a](const std::string& word) { a.method = FitMethodFromWord(word); });
}

// --weights and --absolute, on every command that fits.
void Weights(CLI::App* command, Arguments& a) {
    Choice(command, "--weights", {kWeightSchemeWords.begin(), kWeightSchemeWords.end()},
           "none; sigma: 1/σ² of each pair's standard deviation; 1/x, 1/x2, 1/y, 1/y2 in "
           "measured units; replicates: 1/s² of the readings that share an X (as stored unless "
           "given)",
           [&a](const std::string& word) { a.weights = WeightSchemeFromWord(word); });
    command->add_flag("--absolute", a.absolute,
                      "the standard deviations are known (absolute): the covariance is not "
                      "scaled, and chi-square tests the fit");
}

// --sigma, for the commands that read a new observation.
void NewSigma(CLI::App* command, Arguments& a) {
    Valued(command, "--sigma", "S",
           "the standard deviation of a new observation of a weighted fit (the fit's mean weight "
           "unless given, for sigma and replicates weights)",
           [&a](const std::string& text) {
               double sigma = 0.0;
               ReadFiniteValue(text, sigma);
               a.sigma = sigma;
           })
        ->check(kPositive);
}

CLI::Option* Level(CLI::App* command, Arguments& a) {
    return Valued(command, "--level", "L",
                  "the confidence level, between 0 and 1 (0.95 unless given)",
                  [&a](const std::string& text) { ReadLevel(text, a.level); })
        ->check(kLevel);
}

CLI::Option* Json(CLI::App* command, Arguments& a) {
    return command->add_flag("--json", a.json, "write one JSON object instead of text");
}

// The words fit and import share after their file.
void FitSettings(CLI::App* command, Arguments& a) {
    Choice(command, "--model", ModelWords(), "the curve model (as stored unless given)",
           [&a](const std::string& word) {
               a.model = CurveCode(*FindCurveModel(std::string_view(word)));
           });
    Valued(command, "--order", "N", "the polynomial's order, 1 to 10 (as stored unless given)",
           [&a](const std::string& text) { a.order = text; });
    Method(command, a);
    Weights(command, a);
}

// "FILE", "X...", "--out TABLE.csv|.txt", "[--bands]".
std::string Word(const CLI::Option& option) {
    if (option.get_positional())
        return option.get_name(true) + (option.get_items_expected_max() > 1 ? "..." : "");
    const std::string value = option.get_type_name();
    return option.get_name() + (value.empty() ? "" : " " + value);
}

std::string SynopsisWord(const CLI::Option& option) {
    const std::string word = Word(option);
    return option.get_positional() || option.get_required() ? word : "[" + word + "]";
}

std::vector<std::string> SplitWords(const std::string& text) {
    std::vector<std::string> words;
    size_t from = 0;
    for (size_t space; (space = text.find(' ', from)) != std::string::npos; from = space + 1)
        words.push_back(text.substr(from, space - from));
    words.push_back(text.substr(from));
    return words;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + '\n';
    return text;
}

CommandSynopsis Describe(const CLI::App& command) {
    CommandSynopsis s{command.get_name(), {}, 0, command.get_description()};
    for (const CLI::Option* option : command.get_options()) {
        if (option == command.get_help_ptr())
            continue;
        s.words.push_back(SynopsisWord(*option));
        if (option->get_positional())
            ++s.positionals;
    }
    return s;
}

std::string UsageLine(const CLI::App& command) {
    const CommandSynopsis s = Describe(command);
    return "usage: lumetra-cli " + s.verb + " " + Join(s.words, " ") + "\n";
}

// The head (a command's synopsis, an option) and what it does in a column beside it, or below
// it when the head does not leave two blanks before the column.
std::string Entry(std::vector<std::string> head, const std::string& what, size_t column) {
    std::string lead(column, ' ');
    if (head.size() == 1 && head[0].size() + 2 <= column) {
        lead.replace(0, head[0].size(), head[0]);
        head.clear();
    }
    return Lines(head) + Lines(WrapWords(lead, SplitWords(what), 0, kWidth));
}

// The usage line, what the command does, and each of its words with what it means.
std::string HelpText(const CLI::App& command) {
    std::string text = UsageLine(command) + command.get_description() + "\n\n";
    for (const CLI::Option* option : command.get_options())
        if (option != command.get_help_ptr())
            text += Entry({"  " + Word(*option)}, option->get_description(), kHelpColumn);
    return text + Entry({"  -h, --help"}, "print this text", kHelpColumn);
}

} // namespace

std::vector<std::string> WrapWords(const std::string& lead, const std::vector<std::string>& words,
                                   size_t hangAfter, size_t width) {
    std::vector<std::string> lines{lead};
    size_t hang = lead.size();
    bool fresh = true; // nothing after the lead or the indent yet
    for (size_t i = 0; i < words.size(); ++i) {
        if (!fresh && lines.back().size() + 1 + words[i].size() > width) {
            lines.push_back(std::string(hang, ' '));
            fresh = true;
        }
        if (!fresh)
            lines.back() += ' ';
        lines.back() += words[i];
        fresh = false;
        if (i + 1 == hangAfter)
            hang = lines.back().size() + 1;
    }
    return lines;
}

CommandLine::CommandLine() : m_app("", "lumetra-cli") {
    m_app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    m_app.require_subcommand(1);
    Arguments& a = m_args;

    Positional(AddCommand("check", "read a data file and print what it holds", RunCheck), "FILE",
               a.file, "the data file");
    Positional(AddCommand("report", "print the report of a data file as stored", RunReport), "FILE",
               a.file, "the data file");

    CLI::App* fit =
        AddCommand("fit", "fit the data with these settings, print the report, save it", RunFit);
    Positional(fit, "FILE", a.file, "the data file");
    FitSettings(fit, a);
    Named(fit, "--save", "OUT", a.save, "the data file to save the fitted data to");

    CLI::App* stats = AddCommand("stats",
                                 "fit the data as stored and print the fit's statistics (level "
                                 "0.95 unless asked), as text or as one JSON object",
                                 RunStats);
    Positional(stats, "FILE", a.file, "the data file");
    Method(stats, a);
    Weights(stats, a);
    Level(stats, a);
    Json(stats, a);

    CLI::App* predict = AddCommand("predict",
                                   "Y for each X on the data's fit, with the standard error of "
                                   "the mean and the confidence and prediction intervals (Y "
                                   "gives X with X=Ae^BY)",
                                   RunPredict);
    Positional(predict, "FILE", a.file, "the data file");
    Positionals(predict, "X", a.values, "the values to compute from")->check(kNumber);
    Method(predict, a);
    Weights(predict, a);
    NewSigma(predict, a);
    Level(predict, a);
    Json(predict, a);

    CLI::App* calibrate = AddCommand("calibrate",
                                     "every X in the data's range where the fit takes each Y, "
                                     "with its interval (X gives Y with X=Ae^BY)",
                                     RunCalibrate);
    Positional(calibrate, "FILE", a.file, "the data file");
    Positionals(calibrate, "Y", a.values, "the observed values")->check(kNumber);
    Method(calibrate, a);
    Weights(calibrate, a);
    NewSigma(calibrate, a);
    Level(calibrate, a);
    calibrate->add_flag("--mean-response", a.meanResponse,
                        "each value is a mean response, without the scatter of a new observation");
    Choice(calibrate, "--interval", {"inversion", "wald"},
           "inversion: where the prediction band crosses the value (unless given); wald: the "
           "delta method",
           [&a](const std::string& word) {
               a.interval =
                   word == "wald" ? CalibrationInterval::Wald : CalibrationInterval::Inversion;
           });
    Json(calibrate, a);

    CLI::App* weights = AddCommand("weights",
                                   "fit every weighting that applies to the data and model as "
                                   "stored and list for each the sum of the standards' relative "
                                   "errors taken back through the curve, the residual SD and "
                                   "R-squared, marking the smallest",
                                   RunWeights);
    Positional(weights, "FILE", a.file, "the data file");

    CLI::App* influence = AddCommand("influence",
                                     "fit the data as stored and list each pair's leverage, "
                                     "standardized and studentized residuals, Cook's distance "
                                     "and DFFITS, flagging outliers and influential pairs, with "
                                     "the Durbin-Watson statistic",
                                     RunInfluence);
    Positional(influence, "FILE", a.file, "the data file");
    Method(influence, a);
    Weights(influence, a);
    influence->add_flag("--flagged", a.flagged, "list the flagged pairs only");
    Json(influence, a);

    CLI::App* compute =
        AddCommand("compute",
                   "Y for an X (X for a Y with X=Ae^BY) on the stored fit, or on a refit by the "
                   "method given",
                   RunCompute);
    Positional(compute, "FILE", a.file, "the data file");
    Positionals(compute, "VALUE", a.values, "the value to compute from")
        ->expected(1)
        ->allow_extra_args(false);
    Method(compute, a);
    Weights(compute, a);

    CLI::App* import = AddCommand(
        "import",
        "read X/Y pairs from a text file (blanks, tabs, commas, semicolons or quotes between; "
        "a decimal comma with semicolons or tabs), fit them, print the report, save them",
        RunImport);
    Positional(import, "TEXTFILE", a.file, "the text file of X/Y pairs");
    Named(import, "--save", "OUT", a.save, "the data file to save")->required();
    Title(import, "--title", a.title, "the data title");
    Title(import, "--xtitle", a.xtitle, "the X axis title");
    Title(import, "--ytitle", a.ytitle, "the Y axis title");
    FitSettings(import, a);
    import->add_flag("--skip-bad-lines", a.skipBadLines,
                     "skip the lines among the pairs that are not X/Y pairs, and name them, "
                     "rather than stop at the first");
    import->add_flag("--sigma", a.sigmaColumn,
                     "read the third number of each line as the standard deviation of the "
                     "measured value (above 0)");

    CLI::App* plot = AddCommand("plot",
                                "draw the stored fit's plot into a picture (100 % unless asked), "
                                "with its confidence and prediction bands, or its residuals "
                                "against X",
                                RunPlot);
    Positional(plot, "FILE", a.file, "the data file");
    Named(plot, "--out", "PICTURE.png|.svg|.pdf", a.out, "the picture, its kind by its suffix")
        ->required();
    Choice(plot, "--zoom", {"50", "100"}, "the size in per cent",
           [&a](const std::string& word) { a.fullSize = word == "100"; });
    plot->add_flag("--bands", a.bands, "draw the confidence and prediction bands");
    plot->add_flag("--residuals", a.residuals, "draw the residuals against X");
    plot->add_flag("--log-x", a.logX, "draw the X axis logarithmically");
    plot->add_flag("--log-y", a.logY, "draw the Y axis logarithmically");
    plot->add_flag("--readable", a.readable,
                   "widen the axes to tidy values, ticks at 1, 2 or 5 times a power of ten");
    Method(plot, a);
    Weights(plot, a);
    Level(plot, a);

    CLI::App* exportTable = AddCommand(
        "export", "write the stored fit's table as CSV, or its report as text", RunExport);
    Positional(exportTable, "FILE", a.file, "the data file");
    Named(exportTable, "--out", "TABLE.csv|.txt", a.out, "the table, its kind by its suffix")
        ->required();
}

CLI::App* CommandLine::AddCommand(const char* verb, const char* summary, Handler handler) {
    CLI::App* command = m_app.add_subcommand(verb, summary);
    m_commands.emplace_back(command, handler);
    return command;
}

const CLI::App* CommandLine::FindCommand(const std::string& verb) const {
    for (const auto& [command, handler] : m_commands)
        if (command->get_name() == verb)
            return command;
    return nullptr;
}

std::vector<CommandSynopsis> CommandLine::Synopses() const {
    std::vector<CommandSynopsis> synopses;
    for (const auto& [command, handler] : m_commands)
        synopses.push_back(Describe(*command));
    return synopses;
}

std::string CommandLine::UsageText() const {
    std::string text = "usage: lumetra-cli COMMAND ARGS\ncommands:\n";
    for (const CommandSynopsis& s : Synopses())
        text += Entry(WrapWords("  " + s.verb + " ", s.words, s.positionals, kWidth), s.summary,
                      kSummaryColumn);
    return text;
}

int CommandLine::Run(const std::vector<std::string>& words, Streams io) {
    if (words.empty()) {
        io.err << UsageText();
        return kUsage;
    }
    const CLI::App* named = FindCommand(words.front());
    std::vector<std::string> marked;
    for (auto word = words.rbegin(); word != words.rend(); ++word)
        marked.push_back(MarkDashWord(*word));
    try {
        m_app.parse(marked);
    } catch (const CLI::CallForHelp&) {
        io.out << (named ? HelpText(*named) : UsageText());
        return kOk;
    } catch (const CLI::ParseError&) {
        if (named)
            io.err << UsageLine(*named);
        else
            io.err << "lumetra-cli: unknown command '" << words.front() << "'\n" << UsageText();
        return kUsage;
    } catch (const RefusedWord& refused) {
        io.err << refused.what() << '\n';
        return kUsage;
    }
    for (const auto& [command, handler] : m_commands)
        if (command->parsed())
            return handler(m_args, io);
    return kUsage; // require_subcommand(1) leaves no way here
}

} // namespace lumetra::cli
