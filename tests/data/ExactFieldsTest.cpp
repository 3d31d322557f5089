#include "data/ExactFields.h"
#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
#include "data/NumberScan.h"
#include "fit/FitEngine.h"
#include "fit/ModelEval.h"
#include "options/ComputeRules.h"
#include "platform/MemorySettingsStore.h"
#include "support/ExampleFile.h"
#include "support/RecordingUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <regex>

namespace lumetra {
namespace {

TEST(ExactFields, ShortestTextReadsBackBitForBit) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {{0.1, "0.1"},       {-2.0, "-2"},         {1e300, "1e+300"},
                 {-0.0, "-0"},       {9.87654, "9.87654"}, {0.1 + 0.2, "0.30000000000000004"},
                 {5e-324, "5e-324"}, {1e21, "1e+21"},      {123456789012.0, "123456789012"}};
    for (const Case& c : cases) {
        EXPECT_EQ(ShortestText(c.value), c.text);
        const double back = TextToDouble(c.text);
        EXPECT_EQ(std::memcmp(&back, &c.value, sizeof back), 0) << c.text;
    }
}

// A field is taken only when, shown with the line's format, it reads as the shown value.
TEST(ExactFields, TakenOnlyWhenTheyAgreeWithTheShownValue) {
    struct Case {
        const char* rest;
        const char* format;
        double shown;
        FieldUse use;
        double value;
    } cases[] = {
        {"        ", "%-16.2lf", 9.88, FieldUse::Absent, 9.88},
        {"\tx=9.87654", "%-16.2lf", 9.88, FieldUse::Taken, 9.87654},
        {"  \tx=9.87654  \ty=1", "%-16.2lf", 9.88, FieldUse::Taken, 9.87654},
        {"\ty=1\tx=9.87654", "%-16.2lf", 9.88, FieldUse::Taken, 9.87654},
        {"\tx=9.87654", "%-16.2lf", 9.5, FieldUse::Overruled, 9.5}, // 9.88 edited to 9.5
        {"\tx=9.87654", "%-16.1lf", 9.88, FieldUse::Overruled, 9.88},
        {"\tx=abc", "%-16.2lf", 9.88, FieldUse::Overruled, 9.88},
        {"\tx=9.87654z", "%-16.2lf", 9.88, FieldUse::Overruled, 9.88},
        {"\tx=inf", "%-16.2lf", 9.88, FieldUse::Overruled, 9.88},
        {"\tx=", "%-16.2lf", 9.88, FieldUse::Absent, 9.88},
        {"\txx=9.87654\tmax=9.87654", "%-16.2lf", 9.88, FieldUse::Absent, 9.88},
        {"\tx=1234.5678", "%-16.5E", 1234.57, FieldUse::Taken, 1234.5678},
        {"\tx=-1e-09", "%-16.5lf", -0.0, FieldUse::Taken, -1e-9},
        {"\tx=-1e-09", "%-16.5lf", 0.0, FieldUse::Taken, -1e-9}, // a zero is a zero
    };
    for (const Case& c : cases) {
        double value = c.shown;
        EXPECT_EQ(TakeExactField(c.rest, "x", CompiledFormat(c.format), value), c.use) << c.rest;
        EXPECT_EQ(value, c.value) << c.rest;
    }
}

// Reads a data file as its described reader does: the leading fields of each line with scanf's
// rules, nothing after them. It knows no field of the program's own.
struct DescribedFile {
    std::string title, xTitle, yTitle;
    int type = 0, order = 0, xDecimals = 0, yDecimals = 0, xFixed = 0, yFixed = 0;
    double stats[4] = {};
    std::vector<double> coefs;
    std::vector<std::array<double, 4>> rows;

    static DescribedFile Read(const std::string& bytes) {
        DescribedFile f;
        std::vector<std::string> lines;
        for (size_t at = 0, eol; (eol = bytes.find("\r\n", at)) != std::string::npos; at = eol + 2)
            lines.push_back(bytes.substr(at, eol - at));
        EXPECT_GE(lines.size(), 10u);
        f.title = lines[0].substr(1);
        f.xTitle = lines[1];
        f.yTitle = lines[2];
        std::sscanf(lines[3].c_str(), "%d", &f.type);
        std::sscanf(lines[4].c_str(), "%d", &f.order);
        std::sscanf(lines[5].c_str(), "%lf %lf", &f.stats[0], &f.stats[1]);
        std::sscanf(lines[6].c_str(), "%lf %lf", &f.stats[2], &f.stats[3]);
        std::sscanf(lines[7].c_str(), "%d %d %d %d", &f.xDecimals, &f.yDecimals, &f.xFixed,
                    &f.yFixed);
        const size_t coefLines = size_t(f.order < 2 ? 1 : f.order) + 1;
        for (size_t k = 0; k < coefLines; ++k)
            std::sscanf(lines[8 + k].c_str(), "%lf", &f.coefs.emplace_back());
        for (size_t k = 8 + coefLines; k < lines.size(); ++k) {
            std::array<double, 4>& row = f.rows.emplace_back();
            std::sscanf(lines[k].c_str(), "%lf %lf %lf %lf", &row[0], &row[1], &row[2], &row[3]);
        }
        return f;
    }
};

double Shown(const std::string& format, double value) {
    return std::strtod(CompiledFormat(format).Format({value}).c_str(), nullptr);
}

// Values typed with up to 17 significant digits, as a user pastes them from a logger: monthly
// dates and readings far from zero, or one reading throughout.
void TypeData(CLumetraDoc& doc, bool constant) {
    doc.m_pPairs.clear();
    for (int k = 0; k < 15; ++k) {
        char x[40], y[40];
        std::snprintf(x, sizeof x, "%.17g", 2024.0 + k / 12.0);
        std::snprintf(y, sizeof y, "%.17g",
                      constant ? 7.1234567890123456
                               : 1000.0 + 3.25 * k + 0.015625 * k * k + 1e-7 * k);
        doc.m_pPairs.push_back({TextToDouble(x), TextToDouble(y)});
    }
    doc.m_nPairs = int(doc.m_pPairs.size());
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct RoundTrip : ::testing::Test {
    test::RecordingUi ui;
    MemorySettingsStore settings;
    test::TempDir dir;
};

// Saved at any display precision and read again, a fitted set gives the same pairs, the same
// coefficients, the same refit and the same Compute answers, bit for bit; what the described
// reader takes of the same file is the values as shown.
TEST_F(RoundTrip, EveryDigitSurvivesAnyDisplayPrecision) {
    for (const auto& [type, method] :
         {std::pair{0, FitMethod::Classic}, {0, FitMethod::Accurate}, {1, FitMethod::Classic}})
        for (int decimals = 0; decimals <= kMaxDecimals; ++decimals)
            for (const int fixed : {1, 0})
                for (const bool constant : {false, true}) {
                    SCOPED_TRACE(
                        FormatC("type %d, method %s, %d decimals, fixed %d, constant %d",
                                {type, FitMethodWord(method), decimals, fixed, int(constant)}));
                    CLumetraDoc doc(ui, settings);
                    doc.OnNewDocument();
                    TypeData(doc, constant);
                    doc.m_nCurveType = type;
                    doc.m_eFitMethod = method;
                    doc.m_nOrder = 3;
                    doc.m_nXDecimals = decimals;
                    doc.m_nYDecimals = kMaxDecimals - decimals;
                    doc.m_bXFixed = doc.m_bYFixed = fixed;
                    doc.BuildFormats();
                    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
                    ui.messages.clear(); // the classic fit's note on its digits
                    const std::string path = dir.Path("trip.dat");
                    ASSERT_TRUE(doc.OnSaveDocument(path));

                    CLumetraDoc back(ui, settings);
                    ASSERT_TRUE(back.OnOpenDocument(path));
                    ASSERT_TRUE(ui.messages.empty()) << ui.messages.back().text;
                    ASSERT_EQ(back.m_pPairs.size(), doc.m_pPairs.size());
                    for (size_t k = 0; k < doc.m_pPairs.size(); ++k) {
                        EXPECT_TRUE(SameBits(back.m_pPairs[k].m_dX, doc.m_pPairs[k].m_dX)) << k;
                        EXPECT_TRUE(SameBits(back.m_pPairs[k].m_dY, doc.m_pPairs[k].m_dY)) << k;
                    }
                    for (int k = 0; k < 4; ++k)
                        EXPECT_TRUE(SameBits(back.m_dCoef[k], doc.m_dCoef[k])) << k;
                    for (auto [a, b] : {std::pair{back.m_dXInt, doc.m_dXInt},
                                        {back.m_dYInt, doc.m_dYInt},
                                        {back.m_dSumAbsDiff, doc.m_dSumAbsDiff},
                                        {back.m_dPerformance, doc.m_dPerformance}})
                        EXPECT_TRUE(SameBits(a, b));
                    for (const char* at : {"2024.3", "2025.1666666666667", "2030"}) {
                        std::string before = at, after = at;
                        EXPECT_EQ(ComputeY(ui, back, after).result,
                                  ComputeY(ui, doc, before).result);
                        double x1 = TextToDouble(at), y1 = 0, x2 = x1, y2 = 0;
                        ASSERT_TRUE(EvalCurvePoint(doc, x1, y1) && EvalCurvePoint(back, x2, y2));
                        EXPECT_TRUE(SameBits(y1, y2)) << at;
                    }
                    ASSERT_EQ(CFitEngine(back).RefitDocument(), 1);
                    ui.messages.clear();
                    for (int k = 0; k < 4; ++k)
                        EXPECT_TRUE(SameBits(back.m_dCoef[k], doc.m_dCoef[k])) << k;

                    const DescribedFile f = DescribedFile::Read(test::TempDir::Read(path));
                    EXPECT_EQ(f.xDecimals, decimals);
                    ASSERT_EQ(f.rows.size(), doc.m_pPairs.size());
                    for (size_t k = 0; k < f.rows.size(); ++k) {
                        EXPECT_EQ(f.rows[k][0], Shown(doc.m_szXFormat, doc.m_pPairs[k].m_dX));
                        EXPECT_EQ(f.rows[k][1], Shown(doc.m_szYFormat, doc.m_pPairs[k].m_dY));
                    }
                    for (int k = 0; k < 4; ++k)
                        EXPECT_EQ(f.coefs[size_t(k)], Shown(doc.m_szWideFormat, doc.m_dCoef[k]));
                    EXPECT_EQ(f.stats[0], Shown("%lf", doc.m_dSumAbsDiff));
                    EXPECT_EQ(f.stats[2], Shown("%lf", doc.m_dXInt));
                    EXPECT_EQ(f.stats[3], Shown("%lf", doc.m_dYInt));
                }
}

// The extra fields stand after the described ones and nowhere else: without them the file is
// the described layout, which the program reads as it always has.
TEST_F(RoundTrip, WithoutItsFieldsAFileIsTheDescribedLayout) {
    CLumetraDoc doc(ui, settings);
    test::FillExample(doc);
    doc.m_pPairs.push_back({3.14159265, 7.25, 7.3, -0.05});
    doc.m_dCoef[0] = 2.0000001;
    doc.m_eFitMethod = FitMethod::Accurate;
    doc.BuildFormats();
    ASSERT_TRUE(doc.OnSaveDocument(dir.Path("fields.dat")));
    const std::string bytes = test::TempDir::Read(dir.Path("fields.dat"));
    const std::string described = std::regex_replace(bytes, std::regex("\t[a-z]+=[^\t\r]*"), "");
    EXPECT_EQ(bytes.size() - described.size(), std::string("\tmethod=accurate\tc=2.0000001"
                                                           "\tx=3.14159265")
                                                   .size());
    EXPECT_EQ(described, test::ExampleFileBytes() + test::Wide16("3.14159") + "\t" +
                             test::Wide16("7.25000") + "\t" + test::Wide16("7.30000") + "\t" +
                             test::Wide16("-0.05000") + "\r\n")
        << "only the first coefficient line differs";

    CLumetraDoc plain(ui, settings);
    ASSERT_TRUE(plain.OnOpenDocument(dir.Write("plain.dat", described)));
    EXPECT_EQ(plain.m_pPairs[2].m_dX, 3.14159);
    EXPECT_EQ(plain.m_dCoef[0], 2.0);
    EXPECT_EQ(plain.m_eFitMethod, FitMethod::Classic);
    EXPECT_TRUE(ui.messages.empty());
}

// The settings line says how the set was fitted and that its fit failed; a file that says
// neither was fitted by the classic method, whatever the user's preference for new fits.
TEST_F(RoundTrip, TheFitMethodAndAFailedFitAreKept) {
    settings.SetString("Preferences", kFitMethodEntry, "accurate");
    struct Case {
        FitMethod method;
        int failed;
        const char* line8;
    } cases[] = {{FitMethod::Classic, 0, "5 5 1 1"},
                 {FitMethod::Accurate, 0, "5 5 1 1\tmethod=accurate"},
                 {FitMethod::Classic, 1, "5 5 1 1\tfit=failed"},
                 {FitMethod::Accurate, 1, "5 5 1 1\tmethod=accurate\tfit=failed"}};
    for (const Case& c : cases) {
        CLumetraDoc doc(ui, settings);
        test::FillExample(doc);
        doc.m_eFitMethod = c.method;
        doc.m_bFitFailed = c.failed;
        const std::string path = dir.Path("fit.dat");
        ASSERT_TRUE(doc.OnSaveDocument(path));
        const std::string bytes = test::TempDir::Read(path);
        EXPECT_NE(bytes.find(std::string("\r\n") + c.line8 + "\r\n"), std::string::npos) << bytes;
        CLumetraDoc back(ui, settings);
        ASSERT_TRUE(back.OnOpenDocument(path));
        EXPECT_EQ(back.m_eFitMethod, c.method) << c.line8;
        EXPECT_EQ(back.m_bFitFailed, c.failed) << c.line8;
        EXPECT_EQ(back.m_strFitFailure, c.failed ? "Can't Fit the Curve" : "") << c.line8;
        ASSERT_TRUE(back.OnSaveDocument(dir.Path("again.dat")));
        EXPECT_EQ(test::TempDir::Read(dir.Path("again.dat")), bytes) << c.line8;
    }
}

// A shown value changed by hand beside its exact field wins, and the user is told where.
TEST_F(RoundTrip, AHandEditedShownValueWinsWithANote) {
    CLumetraDoc doc(ui, settings);
    test::FillExample(doc);
    doc.m_nXDecimals = 2;
    doc.m_pPairs = {{1.23456, 5, 5, 0}, {2.5, 6, 6, 0}, {9.87654, 7, 7, 0}};
    doc.m_dCoef[1] = 1.0000002;
    doc.BuildFormats();
    const std::string path = dir.Path("edited.dat");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    std::string bytes = test::TempDir::Read(path);
    auto edit = [&bytes](const std::string& from, const std::string& to) {
        const size_t at = bytes.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        bytes.replace(at, from.size(), to);
    };
    edit("9.88 ", "9.50 "); // line 13
    CLumetraDoc back(ui, settings);
    ASSERT_TRUE(back.OnOpenDocument(dir.Write("one.dat", bytes)));
    EXPECT_EQ(back.m_pPairs[0].m_dX, 1.23456);
    EXPECT_EQ(back.m_pPairs[2].m_dX, 9.5);
    EXPECT_EQ(back.m_dCoef[1], 1.0000002);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "File " + dir.Path("one.dat") +
                                       ":\nline 13 shows a value that differs from the exact "
                                       "value stored beside it.\nThe value shown is taken.");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Information);
    EXPECT_FALSE(back.IsModified());

    edit("1.00000         \tc=", "3.00000         \tc="); // C[2] on line 10
    edit("x=1.23456", "x=1.2x");                          // a field that is no number, line 11
    ui.messages.clear();
    CLumetraDoc again(ui, settings);
    ASSERT_TRUE(again.OnOpenDocument(dir.Write("three.dat", bytes)));
    EXPECT_EQ(again.m_dCoef[1], 3.0);
    EXPECT_EQ(again.m_pPairs[0].m_dX, 1.23);
    EXPECT_EQ(ui.OnlyMessage(), "File " + dir.Path("three.dat") +
                                    ":\n3 values shown differ from the exact values stored "
                                    "beside them, the first on line 10.\nThe values shown are "
                                    "taken.");
}

// A pair's standard deviation survives a save and a reopen to the last bit, whatever its size;
// a pair without one stays without; the described reader takes the shown values of every line.
TEST_F(RoundTrip, StandardDeviationsSurviveToTheLastBit) {
    const double sigmas[] = {0.1,    0.30000000000000004, 5e-324, 1.7976931348623157e308,
                             2.5e-9, 1e6 + 0.123456789,   0.0,    7.0};
    CLumetraDoc doc(ui, settings);
    test::FillExample(doc);
    doc.m_pPairs.clear();
    for (double s : sigmas)
        doc.m_pPairs.push_back({2024.0 + s / 8, 1e6 + 1.0 / 3, 0.0, 0.0, s});
    doc.BuildFormats();
    const std::string path = dir.Path("sigma.dat");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const std::string bytes = test::TempDir::Read(path);
    EXPECT_NE(bytes.find("\ts=0.30000000000000004\r\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("\ts=1.7976931348623157e+308\r\n"), std::string::npos);
    EXPECT_EQ(bytes.find("s=0\r\n"), std::string::npos) << "a pair without σ has no field";

    CLumetraDoc back(ui, settings);
    ASSERT_TRUE(back.OnOpenDocument(path));
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(back.m_pPairs.size(), std::size(sigmas));
    for (size_t k = 0; k < std::size(sigmas); ++k) {
        EXPECT_TRUE(SameBits(back.m_pPairs[k].m_dSigma, sigmas[k])) << k;
        EXPECT_TRUE(SameBits(back.m_pPairs[k].m_dX, doc.m_pPairs[k].m_dX)) << k;
    }
    ASSERT_TRUE(back.OnSaveDocument(dir.Path("again.dat")));
    EXPECT_EQ(test::TempDir::Read(dir.Path("again.dat")), bytes);

    const DescribedFile f = DescribedFile::Read(bytes);
    ASSERT_EQ(f.rows.size(), std::size(sigmas));
    for (size_t k = 0; k < f.rows.size(); ++k) {
        EXPECT_EQ(f.rows[k][0], Shown(doc.m_szXFormat, doc.m_pPairs[k].m_dX));
        EXPECT_EQ(f.rows[k][1], Shown(doc.m_szYFormat, doc.m_pPairs[k].m_dY));
        EXPECT_EQ(f.rows[k][3], 0.0);
    }
}

// A pair the fit leaves out carries one field, after its standard deviation, and comes back
// excluded; the others stay without and are read back included.
TEST_F(RoundTrip, ExcludedPairsAreMarkedAndComeBack) {
    CLumetraDoc doc(ui, settings);
    test::FillExample(doc);
    doc.m_pPairs.push_back({4.0, 9.0, 9.0, 0.0, 0.5, true});
    doc.m_pPairs[0].m_bExcluded = true;
    const std::string path = dir.Path("excluded.dat");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    // The example's bytes, its first pair line marked, and the new pair's line.
    std::string expected = test::ExampleFileBytes();
    expected.insert(expected.find("\r\n", expected.find(test::Wide16("0.00000") + "\t")),
                    "\texcluded=1");
    expected += test::Wide16("4.00000") + "\t" + test::Wide16("9.00000") + "\t" +
                test::Wide16("9.00000") + "\t" + test::Wide16("0.00000") +
                "\ts=0.5\texcluded=1\r\n";
    const std::string bytes = test::TempDir::Read(path);
    EXPECT_EQ(bytes, expected);

    CLumetraDoc back(ui, settings);
    ASSERT_TRUE(back.OnOpenDocument(path));
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(back.m_pPairs.size(), 3u);
    for (size_t k = 0; k < back.m_pPairs.size(); ++k)
        EXPECT_EQ(back.m_pPairs[k].m_bExcluded, k != 1) << k;
    EXPECT_EQ(back.m_pPairs[2].m_dSigma, 0.5);
    ASSERT_TRUE(back.OnSaveDocument(dir.Path("again.dat")));
    EXPECT_EQ(test::TempDir::Read(dir.Path("again.dat")), bytes);
}

// The weighting and whether the standard deviations are absolute stand on the settings line;
// without them the line and the whole file are as before, whatever the user's preference.
TEST_F(RoundTrip, TheWeightingIsKeptOnTheSettingsLine) {
    settings.SetString("Preferences", kWeightsEntry, "1/y2");
    settings.SetString("Preferences", kSigmaAbsoluteEntry, "1");
    struct Case {
        WeightScheme weights;
        int absolute;
        const char* line8;
    } cases[] = {{WeightScheme::None, 0, "5 5 1 1"},
                 {WeightScheme::Sigma, 1, "5 5 1 1\tweights=sigma\tsigma=absolute"},
                 {WeightScheme::Sigma, 0, "5 5 1 1\tweights=sigma"},
                 {WeightScheme::InverseX, 0, "5 5 1 1\tweights=1/x"},
                 {WeightScheme::InverseX2, 0, "5 5 1 1\tweights=1/x2"},
                 {WeightScheme::InverseY, 0, "5 5 1 1\tweights=1/y"},
                 {WeightScheme::InverseY2, 0, "5 5 1 1\tweights=1/y2"},
                 {WeightScheme::Replicates, 0, "5 5 1 1\tweights=replicates"}};
    for (const Case& c : cases) {
        CLumetraDoc doc(ui, settings);
        test::FillExample(doc);
        doc.m_eWeights = c.weights;
        doc.m_bSigmaAbsolute = c.absolute;
        const std::string path = dir.Path("weights.dat");
        ASSERT_TRUE(doc.OnSaveDocument(path));
        const std::string bytes = test::TempDir::Read(path);
        EXPECT_NE(bytes.find(std::string("\r\n") + c.line8 + "\r\n"), std::string::npos) << bytes;
        if (c.weights == WeightScheme::None) {
            EXPECT_EQ(bytes, test::ExampleFileBytes());
        }
        CLumetraDoc back(ui, settings);
        ASSERT_TRUE(back.OnOpenDocument(path));
        EXPECT_EQ(back.m_eWeights, c.weights) << c.line8;
        EXPECT_EQ(back.m_bSigmaAbsolute, c.absolute) << c.line8;
    }
    CLumetraDoc fresh(ui, settings);
    EXPECT_EQ(fresh.m_eWeights, WeightScheme::InverseY2) << "new data sets take the preference";
    EXPECT_EQ(fresh.m_bSigmaAbsolute, 1);
    EXPECT_TRUE(ui.messages.empty());
}

// A standard deviation that is no number above 0, an exclusion mark or a weighting this program
// does not know, stops the read with the line named.
TEST_F(RoundTrip, ABadStandardDeviationOrWeightingIsRefused) {
    const std::string good = test::ExampleFileBytes();
    struct Case {
        const char* from;
        const char* to;
        const char* what;
    } cases[] = {
        {"0.00000         \r\n", "0.00000         \ts=0\r\n",
         "line 11 holds a standard deviation that is not a number above 0"},
        {"0.00000         \r\n", "0.00000         \ts=-0.5\r\n",
         "line 11 holds a standard deviation that is not a number above 0"},
        {"0.00000         \r\n", "0.00000         \ts=abc\r\n",
         "line 11 holds a standard deviation that is not a number above 0"},
        {"0.00000         \r\n", "0.00000         \ts=inf\r\n",
         "line 11 holds a standard deviation that is not a number above 0"},
        {"0.00000         \r\n", "0.00000         \ts=1e999\r\n",
         "line 11 holds a standard deviation that is not a number above 0"},
        {"0.00000         \r\n", "0.00000         \texcluded=2\r\n",
         "line 11 holds an exclusion mark (excluded=) that is not 1 or 0"},
        {"0.00000         \r\n", "0.00000         \ts=1\texcluded=yes\r\n",
         "line 11 holds an exclusion mark (excluded=) that is not 1 or 0"},
        {"5 5 1 1\r\n", "5 5 1 1\tweights=1/z\r\n",
         "its weighting (line 8) is \"1/z\", which this application does not know"},
    };
    for (const Case& c : cases) {
        std::string bytes = good;
        const size_t at = bytes.find(c.from);
        ASSERT_NE(at, std::string::npos) << c.from;
        bytes.replace(at, std::strlen(c.from), c.to);
        ui.messages.clear();
        CLumetraDoc doc(ui, settings);
        const std::string path = dir.Write("bad.dat", bytes);
        EXPECT_FALSE(doc.OnOpenDocument(path)) << c.to;
        EXPECT_EQ(ui.OnlyMessage(),
                  "File " + path + ":\nis damaged: " + c.what + "!\nStopping file read!");
        EXPECT_TRUE(doc.m_pPairs.empty());
    }
}

} // namespace
} // namespace lumetra
