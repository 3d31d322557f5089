#include "dataentry/DataPageRules.h"

#include "data/DocumentBackup.h"
#include "data/EnteredNumber.h"
#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
#include "data/NumberScan.h"
#include "data/RoundTrip.h"
#include "dataentry/PastePairs.h"
#include "fit/CurveModels.h"
#include "platform/BusyScope.h"
#include "platform/Ui.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace lumetra {

// The import's pairs go into the list while the shown range has room.
class DataPageRules::ImportToList : public ImportListener {
public:
    explicit ImportToList(DataPageRules& page) : m_page(page) {}
    void OnPairImported(const CXYdata& pair) override {
        ++m_page.m_nTotal;
        if (m_page.m_nPageEnd - m_page.m_nPageFirst < m_page.m_nPageSize) {
            ++m_page.m_nPageEnd;
            m_page.InsertLine(int(m_page.m_lines.size()),
                              m_page.ListLine(pair.m_dX, pair.m_dY, pair.m_dSigma),
                              {pair.m_dX, pair.m_dY, pair.m_dSigma});
        }
    }
    void OnProgressShown(bool shown) override {
        if (m_page.m_listener)
            m_page.m_listener->OnProgressShown(shown);
    }
    void OnProgress(int percent) override {
        if (m_page.m_listener)
            m_page.m_listener->OnProgress(percent);
    }

private:
    DataPageRules& m_page;
};

DataPageRules::DataPageRules(CLumetraDoc& doc, Ui& ui, int pageSize, int& refreshFlag,
                             DocumentBackup* backup)
    : m_doc(doc), m_ui(ui), m_nPageSize(std::max(1, pageSize)), m_bRefreshDataList(refreshFlag),
      m_pBackup(backup) {}

void DataPageRules::OnSetActive() {
    m_strXLabel = m_doc.m_strWorkXTitle + ":";
    m_strYLabel = m_doc.m_strWorkYTitle + ":";
    if (m_bFirstActivation) {
        m_nCurPage = 1;
        m_bSigmaColumn = std::any_of(m_doc.m_pPairs.begin(), m_doc.m_pPairs.end(),
                                     [](const CXYdata& pair) { return pair.HasSigma(); });
    }
    if (m_bFirstActivation || m_bRefreshDataList || m_bCommitted) {
        m_bFirstActivation = 0;
        m_bRefreshDataList = 0;
        m_nTotal = int(m_doc.m_pPairs.size());
        ShowPage(m_nCurPage);
    }
    UpdateControls();
}

void DataPageRules::OnKillActive() {
    CommitList();
}

// The pair as the list shows it; with the σ column, σ follows in the format of the measured
// value, blank for a pair without one.
std::string DataPageRules::ListLine(double x, double y, double sigma) const {
    std::string line = m_doc.PairFormat().Format({x, y});
    if (m_bSigmaColumn && sigma != 0.0) {
        const CurveModel* model = FindCurveModel(m_doc.m_nCurveType);
        const bool measuredX = model && model->xFromY;
        (line += '\t') +=
            CompiledFormat(measuredX ? m_doc.m_szXFormat : m_doc.m_szYFormat).Format({sigma});
    }
    return line;
}

void DataPageRules::SetPoints() {
    m_strPoints = FormatC("%d/%d", {int(m_lines.size()), m_nTotal});
}

void DataPageRules::ShowPage(int page) {
    m_nTotal = int(m_doc.m_pPairs.size());
    m_nPageFirst = (page - 1) * m_nPageSize;
    m_nPageEnd = std::min(m_nPageFirst + m_nPageSize, m_nTotal);
    m_strPoints = FormatC("%d/%d", {m_nPageEnd - m_nPageFirst, m_nTotal});
    if (m_nTotal < 1) {
        UpdateControls();
        return;
    }
    const BusyScope wait(m_ui);
    m_lines.clear();
    m_values.clear();
    m_lines.reserve(size_t(std::max(0, m_nPageEnd - m_nPageFirst)));
    m_values.reserve(m_lines.capacity());
    for (int i = m_nPageFirst; i < m_nPageEnd; ++i) {
        const CXYdata& pair = m_doc.m_pPairs[size_t(i)];
        m_lines.push_back(ListLine(pair.m_dX, pair.m_dY, pair.m_dSigma));
        m_values.push_back({pair.m_dX, pair.m_dY, pair.m_dSigma, pair.m_bExcluded});
    }
    m_nPicked.reset();
    m_selected.clear();
    m_caret = 0;
    m_bCommitted = false;
    if (m_listener)
        m_listener->OnListReset();
}

void DataPageRules::UpdateControls() {
    m_nPages = m_nTotal / m_nPageSize + (m_nTotal % m_nPageSize ? 1 : 0);
    m_strPageLabel = FormatC("Data Page %d/%d", {m_nCurPage, m_nPages});
    DataControls c;
    if (m_nPages > 1) {
        c.go = true;
        c.next = m_nCurPage != m_nPages;
        c.prev = m_nCurPage != 1;
    }
    const size_t s = m_selected.size();
    const int count = int(m_lines.size());
    if (s >= 1) {
        c.del = true;
        if (s == 1) {
            const int i = m_selected.front();
            c.insert = c.edit = true;
            c.up = i > 0;
            c.down = i < count - 1;
        }
    }
    m_controls = c;
    m_focus = DataField::kX;
}

// The fields checked and formatted into a list line with the values typed, or nullopt after the
// message.
std::optional<std::pair<std::string, DataPageRules::ListValues>> DataPageRules::ReadFields() {
    if (m_strX.empty()) {
        m_ui.MessageBox("X value may NOT be empty!");
        m_focus = DataField::kX;
        return std::nullopt;
    }
    if (m_strY.empty()) {
        m_ui.MessageBox("Y value may NOT be empty!");
        m_focus = DataField::kY;
        return std::nullopt;
    }
    if (!CLumetraDoc::ValidateNumber(m_ui, m_strX)) {
        m_focus = DataField::kX;
        return std::nullopt;
    }
    if (!CLumetraDoc::ValidateNumber(m_ui, m_strY)) {
        m_focus = DataField::kY;
        return std::nullopt;
    }
    // Past the character checks, each field must read whole ("1e", "+-1" and "." are no numbers).
    const std::optional<double> x = ReadEnteredNumber(m_ui, m_strX, "X");
    if (!x) {
        m_focus = DataField::kX;
        return std::nullopt;
    }
    const std::optional<double> y = ReadEnteredNumber(m_ui, m_strY, "Y");
    if (!y) {
        m_focus = DataField::kY;
        return std::nullopt;
    }
    CXYdata pair;
    pair.m_dX = *x;
    pair.m_dY = *y;
    if (m_bSigmaColumn && !ReadSigmaField(pair.m_dSigma)) {
        m_focus = DataField::kSigma;
        return std::nullopt;
    }
    std::string line = ListLine(pair.m_dX, pair.m_dY, pair.m_dSigma);
    // Lines are re-read at the commit, so a value is refused rather than listed cut short.
    if (line.size() > kLineLimit) {
        m_ui.MessageBox("X or Y value is too large to list with this display precision!\n"
                        "Choose the exponent form on the Resolution page, or enter a smaller "
                        "value.");
        m_focus = DataField::kX;
        return std::nullopt;
    }
    return std::make_pair(std::move(line), ListValues{pair.m_dX, pair.m_dY, pair.m_dSigma});
}

// The σ field checked as X and Y are, and above 0; false after the message.
bool DataPageRules::ReadSigmaField(double& sigma) {
    TrimCSpace(m_strSigma);
    if (m_strSigma.empty()) {
        m_ui.MessageBox("Standard deviation may NOT be empty!");
        return false;
    }
    const std::optional<double> entered = ReadEnteredNumber(m_ui, m_strSigma, "Standard deviation");
    if (!entered)
        return false;
    sigma = *entered;
    if (!(sigma > 0.0)) {
        m_ui.MessageBox("Standard deviation must be above 0!");
        return false;
    }
    return true;
}

void DataPageRules::SelectOnly(std::optional<int> index) {
    m_selected.clear();
    if (index) {
        m_selected.push_back(*index);
        m_caret = *index;
    }
    if (m_listener)
        m_listener->OnSelectionSet();
}

void DataPageRules::InsertLine(int index, std::string line, ListValues values) {
    m_lines.insert(m_lines.begin() + index, std::move(line));
    m_values.insert(m_values.begin() + index, values);
    if (m_listener)
        m_listener->OnLineInserted(index);
}

void DataPageRules::RemoveLine(int index) {
    m_lines.erase(m_lines.begin() + index);
    m_values.erase(m_values.begin() + index);
    if (m_listener)
        m_listener->OnLineRemoved(index);
}

bool DataPageRules::OnAdd() {
    if (m_nTotal >= kDataLimit) {
        m_ui.MessageBox("At application data limit!  Can't add!");
        return false;
    }
    auto line = ReadFields();
    if (!line)
        return false;
    m_strX.clear();
    m_strY.clear();
    m_strSigma.clear();
    m_nPicked.reset();
    InsertLine(int(m_lines.size()), std::move(line->first), line->second);
    ++m_nTotal;
    SetPoints();
    SelectOnly(std::nullopt);
    UpdateControls();
    m_bListChanged = 1;
    if (m_nTotal >= kDataLimit)
        m_ui.MessageBox("At application data limit!  Don't add any\n"
                        "more without deleting one or more first!");
    RebuildOverAddLimit();
    return true;
}

void DataPageRules::RebuildOverAddLimit() {
    if (int(m_lines.size()) <= m_nPageSize + kAddMargin)
        return;
    m_ui.MessageBox("At the ADD limit for this page!  Must rebuild the list.\n"
                    "Please acknowledge by clicking OK!");
    // The added pairs are at the end of the data (on any page but the last the commit
    // appends them there), so the page that holds the last pair shows them.
    CommitList();
    if (m_bEndDialog)
        return;
    const int total = int(m_doc.m_pPairs.size());
    GoToPage(std::max(1, total / m_nPageSize + (total % m_nPageSize ? 1 : 0)));
}

bool DataPageRules::OnPaste(std::string_view text) {
    const std::string prepared = PasteTextForImport(text);
    if (prepared.empty()) {
        m_ui.MessageBox(kNothingToPasteMessage);
        return false;
    }
    std::vector<CXYdata> pairs;
    // As much as the import reads of a file; a line cut there is not read.
    const ImportResult result =
        ImportText(pairs, m_ui, kPastedTextSource, prepared.data(),
                   std::min(prepared.size(), kImportByteLimit), nullptr,
                   prepared.size() > kImportByteLimit, BadLines::Ask, m_bSigmaColumn != 0);
    m_bEndDialog = m_bEndDialog || result.outOfMemory;
    if (pairs.empty())
        return false;
    std::vector<std::string> lines;
    lines.reserve(pairs.size());
    for (const CXYdata& pair : pairs)
        lines.push_back(ListLine(pair.m_dX, pair.m_dY, pair.m_dSigma));
    // Before the first selected entry, as Insert puts a pair; at the end when none is.
    const auto at = std::ptrdiff_t(m_selected.empty() ? m_lines.size() : size_t(FirstSelected()));
    m_lines.insert(m_lines.begin() + at, std::make_move_iterator(lines.begin()),
                   std::make_move_iterator(lines.end()));
    std::vector<ListValues> values;
    values.reserve(pairs.size());
    for (const CXYdata& pair : pairs)
        values.push_back({pair.m_dX, pair.m_dY, pair.m_dSigma});
    m_values.insert(m_values.begin() + at, values.begin(), values.end());
    if (m_listener)
        m_listener->OnListReset();
    m_nTotal += int(pairs.size());
    NameChange("Paste");
    SetPoints();
    SelectOnly(std::nullopt);
    UpdateControls();
    m_bListChanged = 1;
    RebuildOverAddLimit();
    return true;
}

std::string DataPageRules::SelectedPairsText() const {
    std::string text;
    for (int row : m_selected)
        if (row >= 0 && size_t(row) < m_values.size()) {
            const ListValues& pair = m_values[size_t(row)];
            text += RoundTripNumber(pair.x) + '\t' + RoundTripNumber(pair.y);
            if (pair.sigma != 0.0)
                text += '\t' + RoundTripNumber(pair.sigma);
            text += '\n';
        }
    return text;
}

bool DataPageRules::OnInsert() {
    auto line = ReadFields();
    if (!line)
        return false;
    ++m_nTotal;
    m_strX.clear();
    m_strY.clear();
    m_strSigma.clear();
    m_nPicked.reset();
    InsertLine(FirstSelected(), std::move(line->first), line->second);
    SetPoints();
    SelectOnly(std::nullopt);
    UpdateControls();
    m_bListChanged = 1;
    return true;
}

bool DataPageRules::OnEdit() {
    auto line = ReadFields();
    if (!line)
        return false;
    const int index = FirstSelected();
    ListValues values = line->second;
    // A field left as the double-click filled it keeps the entry's value, not its shown text.
    if (m_nPicked == index && index < int(m_values.size())) {
        const ListValues& before = m_values[size_t(index)];
        if (m_strX == m_strPickedX)
            values.x = before.x;
        if (m_strY == m_strPickedY)
            values.y = before.y;
        if (m_bSigmaColumn && m_strSigma == m_strPickedSigma)
            values.sigma = before.sigma;
    }
    m_strX.clear();
    m_strY.clear();
    m_strSigma.clear();
    m_nPicked.reset();
    if (index < int(m_lines.size())) {
        values.excluded = m_values[size_t(index)].excluded;
        m_lines[size_t(index)] = std::move(line->first);
        m_values[size_t(index)] = values;
        if (m_listener)
            m_listener->OnLineChanged(index);
    } else {
        // An empty list: the line becomes its first entry.
        InsertLine(index, std::move(line->first), values);
    }
    SelectOnly(std::nullopt);
    UpdateControls();
    m_bListChanged = 1;
    return true;
}

bool DataPageRules::OnDelete() {
    const std::vector<int> selected = m_selected;
    m_nTotal -= int(selected.size());
    if (selected.size() == 1) {
        RemoveLine(selected.front());
    } else if (!selected.empty()) {
        // One pass over the list, and one reset of the control, whatever the number.
        size_t next = 0, out = 0;
        for (size_t i = 0; i < m_lines.size(); ++i) {
            if (next < selected.size() && size_t(selected[next]) == i) {
                ++next;
                continue;
            }
            m_values[out] = m_values[i];
            m_lines[out++] = std::move(m_lines[i]);
        }
        m_lines.resize(out);
        m_values.resize(out);
        if (m_listener)
            m_listener->OnListReset();
    }
    SetPoints();
    SelectOnly(std::nullopt);
    UpdateControls();
    m_bListChanged = 1;
    return true;
}

bool DataPageRules::OnMoveUp() {
    return MoveSelected(-1);
}

bool DataPageRules::OnMoveDown() {
    return MoveSelected(1);
}

// The selected entry one line up (step −1) or down (+1), selected where it lands.
bool DataPageRules::MoveSelected(int step) {
    const int i = FirstSelected(), to = i + step;
    const bool moves = to >= 0 && to < int(m_lines.size()) && i < int(m_lines.size());
    if (moves) {
        std::swap(m_lines[size_t(i)], m_lines[size_t(to)]);
        std::swap(m_values[size_t(i)], m_values[size_t(to)]);
        if (m_listener) {
            m_listener->OnLineChanged(std::min(i, to));
            m_listener->OnLineChanged(std::max(i, to));
        }
    }
    SelectOnly(moves ? std::optional<int>(to) : std::nullopt);
    UpdateControls();
    m_bListChanged = 1;
    return true;
}

bool DataPageRules::OnListSelChange() {
    m_nPicked.reset();
    UpdateControls();
    return true;
}

bool DataPageRules::OnListDblClk() {
    if (m_caret < 0 || m_caret >= int(m_lines.size()))
        return false;
    const std::string& line = m_lines[size_t(m_caret)];
    const size_t tab = line.find('\t');
    const size_t sigmaTab = tab == std::string::npos ? tab : line.find('\t', tab + 1);
    m_strX = line.substr(0, tab);
    m_strY = tab == std::string::npos ? std::string() : line.substr(tab + 1, sigmaTab - tab - 1);
    m_strSigma = sigmaTab == std::string::npos ? std::string() : line.substr(sigmaTab + 1);
    m_nPicked = m_caret;
    m_strPickedX = m_strX;
    m_strPickedY = m_strY;
    m_strPickedSigma = m_strSigma;
    TrimCSpace(m_strPickedX);
    TrimCSpace(m_strPickedY);
    TrimCSpace(m_strPickedSigma);
    UpdateControls();
    return true;
}

void DataPageRules::GoToPage(int page) {
    CommitList();
    if (m_bEndDialog)
        return;
    m_nTotal = int(m_doc.m_pPairs.size());
    m_nCurPage = page;
    ShowPage(page);
    UpdateControls();
}

bool DataPageRules::OnNextPage() {
    GoToPage(m_nCurPage + 1);
    return true;
}

bool DataPageRules::OnPrevPage() {
    GoToPage(m_nCurPage - 1);
    return true;
}

bool DataPageRules::OnGoPage(std::optional<int> page) {
    if (!page || *page == m_nCurPage)
        return true;
    CommitList();
    if (m_bEndDialog)
        return true;
    m_nCurPage = std::max(1, std::min(*page, m_nPages));
    m_nTotal = int(m_doc.m_pPairs.size());
    ShowPage(m_nCurPage);
    UpdateControls();
    return true;
}

bool DataPageRules::ImportPath(const std::string& path) {
    // The import appends to the data set itself.
    if (!KeepPairsForCancel())
        return true;
    const size_t entries = m_lines.size();
    ImportToList toList(*this);
    const ImportResult result =
        ImportFile(m_doc, m_ui, path, &toList, BadLines::Ask, m_bSigmaColumn != 0);
    if (entries + size_t(result.imported) > 0)
        m_bListChanged = 1;
    if (result.imported > 0)
        NameChange("Import");
    m_bEndDialog = m_bEndDialog || result.outOfMemory;
    SetPoints();
    UpdateControls();
    return true;
}

bool DataPageRules::OnImport() {
    Ui::FileRequest request;
    request.title = "Select an Import Data File";
    request.filters = {{"All Files (*.*)", "*.*"}, {"Data Files (*.dat)", "*.dat"}};
    request.initialDir = m_doc.m_strLastPath;
    const Ui::FileChoice choice = m_ui.ChooseFile(request);
    if (choice.accepted && !choice.path.empty())
        return ImportPath(choice.path);
    SetPoints();
    UpdateControls();
    return true;
}

bool DataPageRules::SetSigmaColumn(bool shown) {
    if (shown == (m_bSigmaColumn != 0))
        return true;
    auto hasSigma = [](const auto& pair) { return pair.sigma != 0.0; };
    const bool listHas = std::any_of(m_values.begin(), m_values.end(), hasSigma);
    const bool setHas = std::any_of(m_doc.m_pPairs.begin(), m_doc.m_pPairs.end(),
                                    [](const CXYdata& pair) { return pair.HasSigma(); });
    if (!shown && (listHas || setHas)) {
        if (m_ui.MessageBox("The standard deviations of all pairs will be removed.\n"
                            "Remove them?",
                            Ui::Buttons::YesNo, Ui::Icon::Question) != Ui::Answer::Yes)
            return false;
        // Pairs on other pages lose theirs too; Cancel puts them back.
        if (setHas) {
            if (!KeepPairsForCancel())
                return false;
            for (CXYdata& pair : m_doc.m_pPairs)
                pair.m_dSigma = 0.0;
            m_doc.SetModifiedFlag(true);
        }
        for (ListValues& values : m_values)
            values.sigma = 0.0;
        m_bListChanged = m_bListChanged || listHas;
    }
    m_bSigmaColumn = shown;
    m_strSigma.clear();
    m_nPicked.reset();
    for (size_t i = 0; i < m_lines.size(); ++i)
        m_lines[i] = ListLine(m_values[i].x, m_values[i].y, m_values[i].sigma);
    if (m_listener)
        m_listener->OnListReset();
    UpdateControls();
    return true;
}

void DataPageRules::SetSelection(std::vector<int> selected, int caret) {
    m_selected = std::move(selected);
    m_caret = caret;
}

void DataPageRules::CommitList() {
    if (!m_bListChanged)
        return;
    const BusyScope wait(m_ui);
    if (!KeepPairsForCancel())
        return;
    // Every entry keeps its value as typed, pasted or read: the list shows it at the display
    // precision, the data set keeps every digit.
    std::vector<CXYdata>& pairs = m_doc.m_pPairs;
    const size_t n = m_lines.size();
    try {
        for (size_t i = 0; i < n; ++i) {
            const ListValues& values = m_values[i];
            const CXYdata pair{values.x, values.y, 0.0, 0.0, values.sigma, values.excluded};
            const size_t index = size_t(m_nPageFirst) + i;
            if (index < size_t(m_nPageEnd))
                pairs[index] = pair;
            else
                pairs.push_back(pair);
        }
    } catch (const std::bad_alloc&) {
        m_ui.MessageBox("Out of Memory!\nSHUT DOWN APPLICATION!");
        m_bEndDialog = true;
        return;
    }
    // The range's pairs the list no longer covers, in one move of the pairs after them.
    const size_t keep = size_t(m_nPageFirst) + n;
    if (keep < size_t(m_nPageEnd))
        pairs.erase(pairs.begin() + std::ptrdiff_t(keep), pairs.begin() + m_nPageEnd);
    m_doc.m_nPairs = int(pairs.size());
    m_doc.SetModifiedFlag(true);
    m_bListChanged = 0;
    m_bRefreshDataList = 0;
    m_bCommitted = true;
}

void DataPageRules::NameChange(const char* name) {
    if (m_pBackup)
        m_pBackup->m_strChange = name;
}

bool DataPageRules::KeepPairsForCancel() {
    if (!m_pBackup || m_pBackup->KeepPairs(m_doc))
        return true;
    m_ui.MessageBox("Out of Memory!\nSHUT DOWN APPLICATION!");
    m_bEndDialog = true;
    return false;
}

} // namespace lumetra
