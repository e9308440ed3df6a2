#include <QComboBox>
#include <QPushButton>

#include "MetaModel.h"
#include "Repetition.h"
#include "RepetitionsTableModel.h"
#include "StatsManager.h"
#include "UiTestSupport.h"

namespace {

const std::string kModel = std::string(ORVEX_SOURCE_DIR) + "/System/Presets/Models/Example_GDD.xml";

class StatsGrid : public TempExeFolderTest {
protected:
    void SetUp() override {
        TempExeFolderTest::SetUp();
        for (int k = 1; k <= 3; ++k) {
            auto rep = std::make_unique<TRepetition>(k, "GDD");
            rep->SStot = 100;
            rep->SSres = 10 * k;
            rep->nbFitObsTot = 20 + k;
            rep->snapShotModel = std::make_unique<TMetaModel>();
            rep->snapShotModel->LoadFromXML(kModel);
            rep->snapShotModel->name = "rep" + std::to_string(k);
            owned.push_back(std::move(rep));
            reps.push_back(owned.back().get());
        }
    }
    void TearDown() override {
        TStatsManager::openCharts = charts;
        TempExeFolderTest::TearDown();
    }
    std::vector<std::unique_ptr<TRepetition>> owned;
    std::vector<TRepetition*> reps;
    const std::function<void(QWidget*, TRepetition&)> charts = TStatsManager::openCharts;
};

QString Cell(const QAbstractItemModel& m, int row, int column) {
    return m.data(m.index(row, column)).toString();
}

} // namespace

TEST_F(StatsGrid, RepetitionsSideBySide) {
    TRepetitionsTableModel model(reps);
    const THashtable first = reps[0]->GetInfoTable();
    ASSERT_EQ(model.columnCount(), 4);
    ASSERT_EQ(model.rowCount(), first.getLength());
    const int last = model.rowCount() - 1;
    EXPECT_EQ(std::pair(Cell(model, last, 1), Cell(model, last, 3)), std::pair(QString("21"), QString("23")));
    EXPECT_EQ(Cell(model, last - 3, 2), QString::fromStdString(reps[1]->GetInfoTable().getValueAt(last - 3)));

    EXPECT_EQ(TRepetitionsTableModel({}).columnCount(), 0);
}

TEST_F(StatsGrid, SavesOrChartsTheChosenRepetition) {
    TStatsManager::openCharts = nullptr;
    EXPECT_FALSE(TStatsManager(nullptr, reps).ChartButton->isEnabled()); // charts only through the hook

    std::vector<int> opened;
    TStatsManager::openCharts = [&](QWidget*, TRepetition& rep) { opened.push_back(rep.id); };
    TStatsManager stats(nullptr, reps);
    ASSERT_EQ(stats.ComboBox1->count(), 3);
    stats.saveAsBtn->click(); // nothing chosen yet
    stats.ChartButton->click();
    EXPECT_EQ(dialogs.shown, QStringList(2, "Please choose a repetition in the list above."));
    EXPECT_TRUE(opened.empty());
    stats.ComboBox1->setCurrentIndex(1);
    stats.ChartButton->click();
    EXPECT_EQ(opened, std::vector<int>{2});

    // A model that cannot be written leaves the window open; a cancelled dialog does nothing.
    dialogs.fileAnswer = QString::fromStdString(Folder() + "no/such/folder/m.xml");
    stats.saveAsBtn->click();
    EXPECT_EQ(dialogs.shown.size(), 3);
    dialogs.fileAnswer.clear();
    stats.saveAsBtn->click();
    EXPECT_EQ(dialogs.shown.size(), 3);
    EXPECT_NE(stats.result(), QDialog::Accepted);

    dialogs.fileAnswer = QString::fromStdString(Folder() + "best");
    stats.saveAsBtn->click();
    EXPECT_EQ(stats.result(), QDialog::Accepted);
    TMetaModel saved;
    saved.LoadFromXML(Folder() + "best.xml");
    EXPECT_EQ(saved.name, "rep2");

    EXPECT_EQ(TStatsManager::XmlFileName("a.xml"), "a.xml");
    EXPECT_EQ(TStatsManager::XmlFileName("a.XML"), "a.XML.xml");
}
