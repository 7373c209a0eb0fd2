#include "tracking/satellitelistwindow.h"

#include "common/captionwidget.h"
#include "common/charfilter.h"
#include "mainwindow/session.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vorta {

namespace {

QComboBox *modeChoice(const QString &mode)
{
    auto *combo = new QComboBox;
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(satelliteEditModes());
    combo->setCurrentText(mode.isEmpty() ? QStringLiteral("FM") : mode);
    return combo;
}

} // namespace

SatelliteEditDialog::SatelliteEditDialog(const QString &title, const SatelliteEntry &initial, Language language,
                                         QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    m_name = new QLineEdit(initial.name);
    m_uplink = new QLineEdit(initial.uplink);
    m_downlink = new QLineEdit(initial.downlink);
    for (QLineEdit *edit : {m_uplink, m_downlink})
        edit->setValidator(new CharFilter(&CharFilter::frequencyChar, edit));
    m_downlinkMode = modeChoice(initial.downlinkMode);
    m_uplinkMode = modeChoice(initial.uplinkMode);
    m_accept = new QPushButton(text(Txt::SatAccept, language));
    m_accept->setDefault(true);

    auto *form = new QFormLayout;
    form->addRow(text(Txt::SatName, language), m_name);
    form->addRow(text(Txt::SatUplink, language), m_uplink);
    form->addRow(text(Txt::SatDownlink, language), m_downlink);
    form->addRow(text(Txt::SatDownlinkMode, language), m_downlinkMode);
    form->addRow(text(Txt::SatUplinkMode, language), m_uplinkMode);
    nameList(m_downlinkMode, text(Txt::SatDownlinkMode, language));
    nameList(m_uplinkMode, text(Txt::SatUplinkMode, language));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_accept, 0, Qt::AlignRight);

    for (QLineEdit *edit : {m_name, m_uplink, m_downlink})
        connect(edit, &QLineEdit::textChanged, this, &SatelliteEditDialog::updateAccept);
    connect(m_accept, &QPushButton::clicked, this, &SatelliteEditDialog::acceptRequested);
    updateAccept();
}

void SatelliteEditDialog::updateAccept()
{
    m_accept->setEnabled(SatelliteList::canAccept(m_name->text(), m_uplink->text(), m_downlink->text()));
}

SatelliteEntry SatelliteEditDialog::entry() const
{
    return {m_name->text(), m_uplink->text(), m_downlink->text(), m_downlinkMode->currentText(),
            m_uplinkMode->currentText()};
}

void SatelliteEditDialog::focusField(SatelliteField field)
{
    switch (field) {
    case SatelliteField::Name:
        m_name->setFocus();
        break;
    case SatelliteField::Uplink:
        m_uplink->setFocus();
        break;
    case SatelliteField::Downlink:
        m_downlink->setFocus();
        break;
    case SatelliteField::DownlinkMode:
        m_downlinkMode->setFocus();
        break;
    case SatelliteField::UplinkMode:
        m_uplinkMode->setFocus();
        break;
    case SatelliteField::None:
        break;
    }
}

SatelliteListWindow::SatelliteListWindow(Session &session, QWidget *parent) : QDialog(parent), m_session(session)
{
    const Language language = session.state().language();
    setWindowTitle(text(Txt::SatListTitle, language));
    m_grid = new QTableWidget(0, 5);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Satélite"), QStringLiteral("Uplink"), QStringLiteral("Downlink"),
                                       QStringLiteral("Mode Dwn"), QStringLiteral("Mode Up")});
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();
    m_grid->setTabKeyNavigation(false); // Tab leaves the grid for the buttons
    m_grid->setAccessibleName(windowTitle());
    m_add = new QPushButton(text(Txt::SatAdd, language));
    m_edit = new QPushButton(text(Txt::SatEdit, language));
    m_delete = new QPushButton(text(Txt::SatDelete, language));
    for (QPushButton *b : {m_add, m_edit, m_delete})
        b->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_edit);
    buttons->addWidget(m_delete);
    buttons->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);
    resize(560, 420);

    // Edit and Delete act on the highlighted row, however it was reached (mouse or keys).
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int row) { selectRow(row); });
    connect(m_add, &QPushButton::clicked, this, &SatelliteListWindow::addSatellite);
    connect(m_edit, &QPushButton::clicked, this, &SatelliteListWindow::editSatellite);
    connect(m_delete, &QPushButton::clicked, this, &SatelliteListWindow::deleteSatellite);
    m_session.state().satellites().load();
    rebuild();
}

void SatelliteListWindow::rebuild()
{
    const QList<QStringList> rows = m_session.state().satellites().gridRows();
    m_grid->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < 5; ++c)
            m_grid->setItem(r, c, new QTableWidgetItem(rows[r].value(c)));
    m_grid->resizeColumnsToContents();
    selectRow(-1);
}

void SatelliteListWindow::selectRow(int row)
{
    m_row = row;
    m_edit->setEnabled(row >= 0);
    m_delete->setEnabled(row >= 0);
    if (row < 0) {
        const QSignalBlocker quiet(m_grid);
        m_grid->setCurrentCell(-1, -1);
        m_grid->clearSelection();
    }
}

void SatelliteListWindow::runEditor(const QString &title, const SatelliteEntry &initial, qsizetype editIndex)
{
    const Language language = m_session.state().language();
    SatelliteEditDialog editor(title, initial, language, this);
    connect(&editor, &SatelliteEditDialog::acceptRequested, &editor, [&] {
        SatelliteList &list = m_session.state().satellites();
        const SatelliteCheck result = editIndex < 0
                                          ? list.add(editor.entry(), m_session.dialogs(), language)
                                          : list.edit(editIndex, editor.entry(), m_session.dialogs(), language);
        if (result.ok)
            editor.accept();
        else
            editor.focusField(result.focus);
    });
    editor.exec();
    m_session.state().announceSatellitesChanged();
    rebuild();
    // The button pressed may be disabled now, with no row chosen: the keys go on in the list.
    m_grid->setFocus();
}

void SatelliteListWindow::addSatellite()
{
    runEditor(text(Txt::SatAddTitle, m_session.state().language()), {}, -1);
}

void SatelliteListWindow::editSatellite()
{
    if (m_row < 0)
        return;
    runEditor(text(Txt::SatEditTitle, m_session.state().language()), m_session.state().satellites().shown(m_row),
              m_row);
}

void SatelliteListWindow::deleteSatellite()
{
    if (m_row < 0)
        return;
    m_session.state().satellites().remove(m_row, m_session.dialogs(), m_session.state().language());
    m_session.state().announceSatellitesChanged();
    rebuild();
    m_grid->setFocus();
}

} // namespace vorta
