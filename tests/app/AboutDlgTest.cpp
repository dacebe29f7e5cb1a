// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "QtTestApp.h"
#include "app/AboutDlg.h"
#include "app/AppIcon.h"
#include "framework/AppTitle.h"
#include "framework/Version.h"

TEST(AboutDlgTest, ShowsNameVersionAndDateAndClosesOnOk) {
    QtTestApp();
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        auto* dialog = dynamic_cast<CAboutDlg*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (QWidget* other = QApplication::activeModalWidget()) other->close();
            return;
        }
        seen = true;
        EXPECT_EQ(dialog->NameLabel()->text(), QString::fromUtf8(kAppTitle));
        EXPECT_EQ(dialog->VersionLabel()->text(), QStringLiteral("Version ") + kKorvaneVersion);
        EXPECT_TRUE(dialog->DateLabel()->text().contains(QRegularExpression("^Built on \\d{4}-\\d{2}-\\d{2}$")))
            << dialog->DateLabel()->text().toStdString();
        for (const QWidget* control : dialog->findChildren<QWidget*>()) {
            EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
        }
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    });
    OnAppAbout(nullptr);
    EXPECT_TRUE(seen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(AboutDlgTest, IconHoldsEverySizeFromTheResources) {
    QtTestApp();
    const QIcon icon = KorvaneIcon();
    for (const int size : {48, 64, 128, 256}) {
        EXPECT_EQ(icon.pixmap(size, size).size(), QSize(size, size)) << size;
    }
    EXPECT_TRUE(icon.availableSizes().contains(QSize(256, 256)));
}
