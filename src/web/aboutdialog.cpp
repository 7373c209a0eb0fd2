#include "web/aboutdialog.h"

#include "common/appversion.h"
#include "common/captionwidget.h"
#include "web/weblinks.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorta {

AboutDialog::AboutDialog(WebOpener &opener, Language language, QWidget *parent)
    : QDialog(parent), m_opener(opener), m_language(language)
{
    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(10);
    layout->setContentsMargins(32, 24, 32, 24);
    auto *title = new QLabel(QStringLiteral("Vorta"));
    emphasize(title, 10, true);
    auto *version = new QLabel(versionText());
    emphasize(version, 2, false);
    m_description = new QLabel;
    // The address reads like a link and is clicked like one; as a button it is also reached
    // with Tab and sent with Space, while Enter stays the key that closes the window.
    m_contact = new QPushButton(QString::fromLatin1(kContactAddress));
    m_contact->setAutoDefault(false);
    m_contact->setFlat(true);
    m_contact->setCursor(Qt::PointingHandCursor);
    m_contact->setStyleSheet(QStringLiteral("QPushButton { color: palette(link); text-decoration: underline; border: none; }"));
    connect(m_contact, &QPushButton::clicked, this,
            [this] { m_opener.writeMail(m_contact->text(), m_language); });
    for (QLabel *label : {title, version})
        label->setAccessibleName(label->text());
    for (QWidget *widget : QList<QWidget *>{title, version, m_description, m_contact})
        layout->addWidget(widget, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    retranslate(language);
}

void AboutDialog::retranslate(Language language)
{
    m_language = language;
    setWindowTitle(text(Txt::AboutCaption, language) + QStringLiteral("Vorta"));
    m_description->setText(text(Txt::AboutDescription, language));
    m_description->setAccessibleName(m_description->text());
}

void AboutDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace vorta
