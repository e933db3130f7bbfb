// The "Download an Installer" sheet over a stand-in Mac's softwareupdate: what it shows while
// Apple is asked, the listing grouped and marked, its failures with Retry, and the start of the
// download job.

#include "state/AppState.h"
#include "support/QuickTiming.h"
#include "support/StandInWorld.h"
#include "ui/DownloadSheet.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

// Each group's title, and its rows as "version note" ("12.7.4 Deferred by your organisation").
QStringList shownRows(const QTreeWidget &list)
{
    QStringList rows;
    for (int group = 0; group < list.topLevelItemCount(); ++group) {
        const QTreeWidgetItem *item = list.topLevelItem(group);
        rows << item->text(0);
        for (int row = 0; row < item->childCount(); ++row)
            rows << (QStringLiteral("  ") + item->child(row)->text(1) + u' ' +
                     item->child(row)->text(4))
                        .trimmed();
    }
    return rows;
}

} // namespace

class DownloadSheetTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("TESSALINE_STANDIN_SPEED", "0"); }
    void init() { Timing::setCurrent(quickTiming()); }

    void listsGroupedAndMarked()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        AppState state;
        state.scanForInstallers();
        QTRY_VERIFY(!state.isScanning());
        DownloadSheet sheet(state);
        state.listOfferedInstallers();
        QVERIFY(sheet.notice().startsWith("Asking Apple"));
        QVERIFY(!sheet.downloadButton()->isEnabled());
        QTRY_VERIFY(!state.isListingOfferedInstallers());
        QCOMPARE(sheet.notice(), QString());
        QVERIFY(sheet.packageButton()->isHidden());
        QCOMPARE(
            shownRows(*sheet.list()),
            (QStringList{"macOS Sequoia (15)", "15.3.1 In Applications", "15.3 In Applications",
                         "macOS Sonoma (14)", "14.7.4 In Applications", "macOS Ventura (13)",
                         "13.7.4", "macOS Monterey (12)", "12.7.4 Deferred by your organisation"}));
        // The deferred row cannot be chosen; the newest one is, from the start.
        const QTreeWidgetItem *deferred = sheet.list()->topLevelItem(3)->child(0);
        QVERIFY(!(deferred->flags() & Qt::ItemIsSelectable));
        QCOMPARE(sheet.list()->currentItem()->text(1), "15.3.1");
        QVERIFY(sheet.downloadButton()->isEnabled());

        // Download starts the job and puts the sheet away.
        sheet.list()->setCurrentItem(sheet.list()->topLevelItem(2)->child(0));
        sheet.downloadButton()->click();
        QVERIFY(state.hasJob());
        QCOMPARE(state.jobKind(), AppState::JobKind::download);
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        QTRY_VERIFY(!state.hasJob());
        QVERIFY(state.progressInfo().success);
    }

    void failuresOfferRetry()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        world.writeState("catalogue.json", {{"failure", "network"}});
        AppState state;
        DownloadSheet sheet(state);
        state.listOfferedInstallers();
        QTRY_VERIFY(!state.isListingOfferedInstallers());
        QVERIFY2(sheet.notice().startsWith("Apple's list of installers could not be read."),
                 qPrintable(sheet.notice()));
        QVERIFY(!sheet.retryButton()->isHidden());
        QVERIFY(!sheet.downloadButton()->isEnabled());
        world.writeState("catalogue.json", {{"failure", ""}});
        sheet.retryButton()->click();
        QTRY_VERIFY(!state.isListingOfferedInstallers());
        QCOMPARE(sheet.notice(), QString());
        QVERIFY(sheet.retryButton()->isHidden());
        QCOMPARE(sheet.list()->topLevelItemCount(), 4);
    }

    // A Mac before Big Sur: no Retry, the package route instead.
    void anOlderMacIsToldOfThePackageRoute()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        world.writeState("catalogue.json", {{"macOS", "10.15.7"}});
        AppState state;
        DownloadSheet sheet(state);
        state.listOfferedInstallers();
        QTRY_VERIFY(!state.isListingOfferedInstallers());
        QVERIFY2(sheet.notice().contains("Download an InstallAssistant package"),
                 qPrintable(sheet.notice()));
        QVERIFY(sheet.retryButton()->isHidden());
        QVERIFY(!sheet.packageButton()->isHidden());
    }

    // Download is held back, with the reason, while another job runs or space is short.
    void downloadHeldBack()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        world.writeState("space.json", {{"freeBytes", 1e9}});
        AppState state;
        DownloadSheet sheet(state);
        state.listOfferedInstallers();
        QTRY_VERIFY(!state.isListingOfferedInstallers());
        QVERIFY(!sheet.downloadButton()->isEnabled());
        QVERIFY2(sheet.downloadButton()->toolTip().contains("free 14.25 GB more"),
                 qPrintable(sheet.downloadButton()->toolTip()));
        world.writeState("space.json", {{"freeBytes", 1e12}});
        state.isInstallingPKG = true; // another job's result still shown
        QVERIFY(!sheet.downloadButton()->isEnabled());
        QCOMPARE(sheet.downloadButton()->toolTip(), AppState::busyReason());
        state.isInstallingPKG = false;
        QVERIFY(sheet.downloadButton()->isEnabled());
    }
};

QTEST_MAIN(DownloadSheetTest)
#include "tst_downloadsheet.moc"
