// The satellite list window ("Editar Satélites") with its grid, and the add/edit window.
#pragma once

#include "tracking/satellitelist.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace vorta {

class Session;

// Asks for one satellite: name, uplink, downlink and the two modes.
class SatelliteEditDialog : public QDialog
{
    Q_OBJECT
public:
    SatelliteEditDialog(const QString &title, const SatelliteEntry &initial, Language language,
                        QWidget *parent = nullptr);
    SatelliteEntry entry() const;
    void focusField(SatelliteField field);

signals:
    // Accept was pressed; the list decides whether the window may close.
    void acceptRequested();

private:
    void updateAccept();
    QLineEdit *m_name, *m_uplink, *m_downlink;
    QComboBox *m_downlinkMode, *m_uplinkMode;
    QPushButton *m_accept;
};

class SatelliteListWindow : public QDialog
{
    Q_OBJECT
public:
    explicit SatelliteListWindow(Session &session, QWidget *parent = nullptr);

    // The commands of the buttons, on the remembered row (grid row - 1 is the entry).
    void addSatellite();
    void editSatellite();
    void deleteSatellite();

private:
    void rebuild();
    void selectRow(int row);
    // Runs the add/edit window until the list accepts its values or the operator cancels.
    void runEditor(const QString &title, const SatelliteEntry &initial, qsizetype editIndex);

    Session &m_session;
    QTableWidget *m_grid;
    QPushButton *m_add, *m_edit, *m_delete;
    int m_row = -1;
};

} // namespace vorta
