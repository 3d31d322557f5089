#include "stats/StatisticsView.h"

#include "data/LumetraDoc.h"
#include "fit/FitStatistics.h"
#include "framework/AppHost.h"
#include "framework/CommandIds.h"
#include "framework/HelpContexts.h"
#include "platform/BusyScope.h"
#include "platform/SettingsStore.h"
#include "platform/Ui.h"
#include "report/PrintToFile.h"
#include "stats/InfluencePage.h"
#include "stats/LimitsText.h"
#include "stats/LinearityText.h"
#include "stats/OrdersText.h"
#include "stats/StatisticsText.h"
#include "stats/WeightsComparison.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>

#include <cstdlib>

namespace lumetra {
namespace {

QFont FixedFont() {
    QFont font("Courier New");
    font.setPointSize(9);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

// The Limits options the windows share, remembered as typed.
constexpr const char* kLimitsSection = "Limits";

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + '\n';
    return text;
}

// The table's cells in the widget, numbers aligned on the right and the last column's words on
// the left.
void FillTableWidget(QTableWidget& widget, const TextTable& table) {
    widget.clear();
    widget.setColumnCount(int(table.header.size()));
    widget.setRowCount(int(table.rows.size()));
    QStringList header;
    for (const std::string& h : table.header)
        header << QString::fromStdString(h);
    widget.setHorizontalHeaderLabels(header);
    for (size_t r = 0; r < table.rows.size(); ++r)
        for (size_t c = 0; c < table.rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(table.rows[r][c]));
            if (c + 1 < table.header.size())
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            widget.setItem(int(r), int(c), item);
        }
    widget.resizeColumnsToContents();
    widget.horizontalHeader()->setStretchLastSection(true);
}

} // namespace

CStatisticsView::CStatisticsView(CAppHost& app, CLumetraDoc& doc)
    : QSplitter(Qt::Vertical), CDocumentView(app, doc, *this, help::kStatisticsWindow) {
    m_text = new QPlainTextEdit;
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setFont(FixedFont());
    addWidget(m_text);
    auto* pages = new QTabWidget;
    // Both tabs whole: the window keeps their room rather than scroll arrows too small to click.
    pages->setUsesScrollButtons(false);
    pages->addTab(BuildTablePanel(), "&Prediction and calibration");
    m_influence = new CInfluencePage;
    m_influence->OnExclude([this](const std::vector<size_t>& pairs, bool exclude) {
        m_app.ExcludePairs(m_doc, pairs, exclude);
    });
    pages->addTab(m_influence, "I&nfluence");
    addWidget(pages);
    setStretchFactor(0, 3);
    setStretchFactor(1, 2);
    // The controls keep their room; the window is not narrowed below them.
    setChildrenCollapsible(false);
    // The statistics print whether a report exists or not; they have no preview.
    Handle(cmd::kFilePrint, [this] { OnFilePrint(); }).EnabledBy(EnableRule::Always);
    Handler(cmd::kOptionsCompute).EnabledBy(EnableRule::Always);
}

QWidget* CStatisticsView::BuildTablePanel() {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);

    auto* choices = new QHBoxLayout;
    m_direction = new QComboBox;
    m_direction->addItems({"Prediction", "Calibration"});
    m_direction->setToolTip("Prediction: the curve's value with its intervals for each value "
                            "typed. Calibration: every value in the data's range where the curve "
                            "takes the value typed.");
    auto* tableLabel = new QLabel("&Table:");
    tableLabel->setBuddy(m_direction);
    choices->addWidget(tableLabel);
    choices->addWidget(m_direction);
    auto* levelLabel = new QLabel("&Level:");
    m_level = new QLineEdit("0.95");
    m_level->setMaximumWidth(70);
    levelLabel->setBuddy(m_level);
    choices->addWidget(levelLabel);
    choices->addWidget(m_level);
    m_interval = new QComboBox;
    m_interval->addItems({"Inversion interval", "Wald interval"});
    // The choices keep their whole words: the window keeps their width rather than cut them.
    for (QComboBox* box : {m_direction, m_interval}) {
        box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents); // the names follow the model
    }
    choices->addWidget(m_interval);
    auto* sigmaLabel = new QLabel("&σ new:");
    m_sigma = new QLineEdit;
    m_sigma->setMaximumWidth(90);
    m_sigma->setPlaceholderText("by weights");
    m_sigma->setToolTip("The standard deviation of a new observation of a weighted fit; left "
                        "empty, the weighting gives it (the mean weight for standard deviations "
                        "and replicates).");
    sigmaLabel->setBuddy(m_sigma);
    choices->addStretch();
    layout->addLayout(choices);
    // A second row, so a narrow window keeps every label whole.
    auto* calibration = new QHBoxLayout;
    calibration->addWidget(sigmaLabel);
    calibration->addWidget(m_sigma);
    m_meanResponse = new QCheckBox("&Mean response");
    m_meanResponse->setToolTip("The observed value is a mean of many, without the scatter of one "
                               "new observation.");
    calibration->addWidget(m_meanResponse);
    calibration->addStretch();
    auto* copy = new QPushButton("&Copy Table");
    calibration->addWidget(copy);
    layout->addLayout(calibration);
    layout->addLayout(BuildLimitsRow());

    m_values = new QPlainTextEdit;
    m_values->setPlaceholderText("Type or paste values here: one per line, or separated by blanks; "
                                 "to calibrate, the readings of one sample on one line");
    m_values->setFont(FixedFont());
    m_values->setMaximumHeight(70);
    layout->addWidget(m_values);

    m_table = new QTableWidget;
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setFont(FixedFont());
    m_table->verticalHeader()->setVisible(false);
    layout->addWidget(m_table, 1);

    connect(m_direction, &QComboBox::currentIndexChanged, this, &CStatisticsView::RefreshTable);
    connect(m_interval, &QComboBox::currentIndexChanged, this, &CStatisticsView::RefreshTable);
    connect(m_meanResponse, &QCheckBox::toggled, this, &CStatisticsView::RefreshTable);
    connect(m_level, &QLineEdit::textChanged, this, &CStatisticsView::RefreshTable);
    connect(m_sigma, &QLineEdit::textChanged, this, &CStatisticsView::RefreshTable);
    // The limits of a weighted fit read the σ of a new reading too.
    connect(m_sigma, &QLineEdit::textChanged, this, &CStatisticsView::ShowStatistics);
    connect(m_values, &QPlainTextEdit::textChanged, this, &CStatisticsView::RefreshTable);
    connect(copy, &QPushButton::clicked, this, &CStatisticsView::CopyTable);
    return panel;
}

QLayout* CStatisticsView::BuildLimitsRow() {
    SettingsStore& settings = m_app.Settings();
    auto* row = new QHBoxLayout;
    auto field = [&](const char* label, const char* entry, const char* fallback, const char* tip) {
        auto* edit = new QLineEdit(
            QString::fromStdString(settings.GetString(kLimitsSection, entry, fallback)));
        edit->setMaximumWidth(60);
        edit->setToolTip(tip);
        auto* caption = new QLabel(label);
        caption->setBuddy(edit);
        row->addWidget(caption);
        row->addWidget(edit);
        connect(edit, &QLineEdit::textChanged, this, &CStatisticsView::ShowStatistics);
        return edit;
    };
    row->addWidget(new QLabel("Limits:"));
    m_alpha = field("&α", "Alpha", "0.05",
                    "The error probability of the decision: a blank reads "
                    "above the critical value this often.");
    m_beta = field("&β", "Beta", "0.05",
                   "The error probability of a missed detection: a sample "
                   "at the detection limit reads below the critical value "
                   "this often.");
    m_k = field("&k", "K", "3",
                "The quantification limit is k times the half-width of its "
                "calibration interval.");
    m_replicates = new QSpinBox;
    m_replicates->setRange(1, 1000000);
    m_replicates->setValue(
        std::atoi(settings.GetString(kLimitsSection, "Replicates", "1").c_str()));
    m_replicates->setToolTip("The number of readings of a sample, whose mean is measured.");
    auto* readings = new QLabel("&m");
    readings->setBuddy(m_replicates);
    row->addWidget(readings);
    row->addWidget(m_replicates);
    row->addStretch();
    connect(m_replicates, &QSpinBox::valueChanged, this, &CStatisticsView::ShowStatistics);
    return row;
}

CurveOutcome CStatisticsView::CurveWithSigma() const {
    CurveOutcome outcome = m_curve;
    const std::string text = m_sigma->text().trimmed().toStdString();
    if (!outcome.curve || outcome.curve->weights == WeightScheme::None || text.empty())
        return outcome;
    double sigma = 0.0;
    if (!ReadFiniteValue(text, sigma) || !(sigma > 0.0))
        return {std::nullopt, "The standard deviation of a new observation must be a number "
                              "above 0, or left empty."};
    outcome.curve->sigma = sigma;
    return outcome;
}

void CStatisticsView::ShowStatistics() {
    std::vector<std::string> lines = m_statistics;
    if (m_curve.curve) {
        LimitsRequest request;
        const bool numbers = ReadFiniteValue(m_alpha->text().toStdString(), request.alpha) &&
                             ReadFiniteValue(m_beta->text().toStdString(), request.beta) &&
                             ReadFiniteValue(m_k->text().toStdString(), request.k);
        request.replicates = m_replicates->value();
        const std::string error =
            numbers ? LimitsOptionsError(request) : "alpha, beta and k must be numbers.";
        const CurveOutcome curve = CurveWithSigma();
        if (error.empty() && curve.curve) {
            SettingsStore& settings = m_app.Settings();
            settings.SetString(kLimitsSection, "Alpha", m_alpha->text().trimmed().toStdString());
            settings.SetString(kLimitsSection, "Beta", m_beta->text().trimmed().toStdString());
            settings.SetString(kLimitsSection, "K", m_k->text().trimmed().toStdString());
            settings.SetString(kLimitsSection, "Replicates", std::to_string(request.replicates));
        }
        CalibrationLimits limits;
        limits.failure = !error.empty() ? error : curve.curve ? "" : curve.failure;
        if (limits.failure.empty())
            limits = ComputeLimits(*curve.curve, request);
        for (std::string& line : LimitsLines(limits))
            lines.push_back(std::move(line));
        lines.push_back(lines.front()); // the rule
    }
    // A change of the options keeps the user's place in the text.
    const int place = m_text->verticalScrollBar()->value();
    m_text->setPlainText(QString::fromStdString(JoinLines(lines)));
    m_text->verticalScrollBar()->setValue(place);
}

void CStatisticsView::Refresh() {
    const BusyScope wait(m_app.GetUi());
    std::vector<std::string> lines =
        StatisticsLines(m_doc, DocumentStatistics(m_doc, kDefaultLevel));
    m_curve = DocumentCurve(m_doc);
    // Which weights: every scheme that applies, for the user to choose by evidence. That fits
    // every scheme, so it is made once per fit, not at each of the updates that follow one; the
    // lack of fit and the order table likewise.
    const std::shared_ptr<const FitState> state = m_curve.curve ? m_curve.curve->state : nullptr;
    if (!state || state != m_comparedFit) {
        m_weightings = CompareWeightings(m_doc);
        m_analysisLines = LinearityLines(DocumentLinearity(m_doc));
        for (std::string& line : OrdersLines(m_doc, DocumentOrderTable(m_doc)))
            m_analysisLines.push_back(std::move(line));
        m_analysisLines.push_back(lines.front()); // the rule
        m_comparedFit = state;
    }
    lines.insert(lines.end(), m_analysisLines.begin(), m_analysisLines.end());
    if (!m_weightings.empty()) {
        for (std::string& line : WeightingLines(m_doc, m_weightings))
            lines.push_back(std::move(line));
        lines.push_back(lines.front()); // the rule
    }
    m_statistics = std::move(lines);
    ShowStatistics();
    RefreshTable();
    m_influence->Show(m_doc);
}

void CStatisticsView::RefreshTable() {
    const bool calibrate = m_direction->currentIndex() == 1;
    m_interval->setEnabled(calibrate);
    m_meanResponse->setEnabled(calibrate);
    const std::vector<std::vector<std::string>> values =
        SplitSamples(m_values->toPlainText().toStdString());
    CalibrationRequest request;
    request.meanResponse = m_meanResponse->isChecked();
    request.interval = m_interval->currentIndex() == 1 ? CalibrationInterval::Wald
                                                       : CalibrationInterval::Inversion;
    m_sigma->setEnabled(m_curve.curve && m_curve.curve->weights != WeightScheme::None);
    const CurveOutcome outcome = CurveWithSigma();
    if (!ReadLevel(m_level->text().toStdString(), request.level)) {
        m_results = NoCurveTable("The level must be a number between 0 and 1, such as 0.95.");
    } else if (!outcome.curve) {
        m_results = NoCurveTable(outcome.failure);
    } else {
        // The names follow the model: X=Ae^BY computes X from Y.
        const FittedCurve& curve = *outcome.curve;
        const QString in = InputName(curve), out = OutputName(curve);
        m_direction->setItemText(0, QString("Prediction: %1 from %2").arg(out, in));
        m_direction->setItemText(1, QString("Calibration: %1 from %2").arg(in, out));
        m_results = PredictionTable(curve, values, calibrate, request);
    }
    ShowTable();
}

void CStatisticsView::ShowTable() {
    FillTableWidget(*m_table, m_results);
}

void CStatisticsView::CopyTable() const {
    QGuiApplication::clipboard()->setText(QString::fromStdString(TableTabText(m_results)));
}

std::string CStatisticsView::CopyText() const {
    if (m_table->hasFocus())
        return TableTabText(m_results);
    if (m_influence->Table()->hasFocus())
        return m_influence->TabText();
    const QString selected = m_text->textCursor().selectedText();
    // A selection's line ends come as the paragraph separator.
    return selected.isEmpty()
               ? m_text->toPlainText().toStdString()
               : QString(selected).replace(QChar::ParagraphSeparator, '\n').toStdString();
}

void CStatisticsView::OnUpdate(CView*, int) {
    // The first update, a refit (hint 1) and the report a listing window rebuilt after it (hint 2)
    // all show the present fit.
    Refresh();
}

bool CStatisticsView::OnFilePrint() {
    QPrinter& printer = m_app.Printer();
    QPrintDialog dialog(&printer, this);
    if (m_app.RunDialog(dialog) != QDialog::Accepted)
        return false;
    const BusyScope wait(m_app.GetUi());
    std::string text = m_text->toPlainText().toStdString();
    if (!m_results.rows.empty())
        text += '\n' + JoinLines(TableLines(m_results));
    text += '\n' + JoinLines(m_influence->Lines());
    QTextDocument document(QString::fromStdString(text));
    document.setDefaultFont(FixedFont());
    return PrintSafely(printer, m_app.GetUi(), "The statistics could not be printed!",
                       [&document](QPrinter& target) {
                           document.print(&target);
                           return true;
                       });
}

} // namespace lumetra
