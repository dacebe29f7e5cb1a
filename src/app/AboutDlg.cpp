// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AboutDlg.h"

#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppIcon.h"
#include "framework/AppTitle.h"
#include "framework/Version.h"

namespace {

// The compiler's date of this file ("Mmm dd yyyy") as yyyy-mm-dd.
QString BuildDate() {
    const QString compiled = QString::fromLatin1(__DATE__).simplified();
    const QDate date = QDate::fromString(compiled, QStringLiteral("MMM d yyyy"));
    return date.isValid() ? date.toString(Qt::ISODate) : compiled;
}

QLabel* Text(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAccessibleName(text);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Korvane"));
    setAccessibleName(windowTitle());

    auto* icon = new QLabel(this);
    icon->setPixmap(KorvaneIcon().pixmap(64, 64));
    icon->setAccessibleName(QStringLiteral("Korvane icon"));

    m_name = Text(QString::fromUtf8(kAppTitle), this);
    m_version = Text(QStringLiteral("Version %1").arg(QString::fromLatin1(kKorvaneVersion)), this);
    m_date = Text(QStringLiteral("Built on %1").arg(BuildDate()), this);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setAccessibleName(QStringLiteral("OK"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(m_name);
    texts->addWidget(m_version);
    texts->addWidget(m_date);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void OnAppAbout(QWidget* owner) {
    CAboutDlg dialog(owner);
    dialog.exec();
}
