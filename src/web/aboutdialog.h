// The About window: the program's name, version and purpose, and the address to write to.
// Enter or Escape hides it.
#pragma once

#include "config/languages.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace vorta {

class WebOpener;

class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr const char *kContactAddress = "contacto@vorta-log.org";

    AboutDialog(WebOpener &opener, Language language, QWidget *parent = nullptr);

    void retranslate(Language language);
    QPushButton &contact() { return *m_contact; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    WebOpener &m_opener;
    Language m_language;
    QLabel *m_description = nullptr;
    QPushButton *m_contact = nullptr;
};

} // namespace vorta
