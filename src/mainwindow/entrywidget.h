// The entry panel of the main window: where a QSO is typed during a pass and saved.
#pragma once

#include "config/languages.h"
#include "logdb/previouscontact.h"
#include "mainwindow/qsoentry.h"
#include "mainwindow/trackedfields.h"

#include <QTimer>
#include <QWidget>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace vorta {

class Session;

class EntryWidget : public QWidget
{
    Q_OBJECT
public:
    explicit EntryWidget(Session &session, QWidget *parent = nullptr);

    // The Save command ("Guardar", and Enter anywhere in the main window).
    void save();
    // "Limpiar": empties station, locator and notes.
    void clear();

    // Fields set by other parts of the program (satellite list, tracking link).
    void setSatellite(const QString &name);
    void setOrbit(const QString &orbit);
    void setUplink(const QString &frequency);
    void setDownlink(const QString &frequency);
    // The mode lists accept any text, not only their entries.
    void setUplinkMode(const QString &mode);
    void setDownlinkMode(const QString &mode);
    // Azimuth and elevation as the tracking link last showed them; stored with each QSO.
    void setAntenna(const QString &azimuth, const QString &elevation);
    // The age and catalogue number of the element set that gave the orbit; empty texts hide it.
    // Stale elements are marked beside their age.
    void setElementInfo(const QString &age, const QString &catalogue, bool stale = false);
    QString elementInfo() const;
    QString orbit() const;
    // The entries of both mode lists, in list order.
    static QStringList modes();

    // Names offered in the satellite drop-down.
    void setSatelliteChoices(const QStringList &names);

    // A value of the tracking link for a frequency or mode field: written only while the field
    // is tracking's (TrackedFields), else kept back for when the cursor leaves it.
    void offerTracked(TrackedField field, const QString &value);
    // Another satellite: the frequency and mode fields follow tracking again.
    void giveFieldsToTracking();
    bool satelliteFocused() const;
    QString satellite() const;

    EntryForm form() const;
    QString satModeText() const;
    QString previousContactText() const;
    // The warning that the station is already in the log on this satellite and orbit; empty
    // when it is not.
    QString workedInPassText() const;
    void focusStation();

signals:
    // The satellite field changed (typed or set): its orbit may follow from element sets.
    void satelliteChanged(const QString &name);
    // A name was chosen from the satellite drop-down.
    void satelliteChosen(const QString &name);
    void satelliteListRequested();
    // The Save command is about to read the fields: values that follow the clock can be
    // brought up to date.
    void aboutToSave();
    // A QSO was stored; notice tells which.
    void saved(const QString &notice);
    // The cursor left the satellite field.
    void satelliteLeft();
    // The station field changed: a QSO is being typed while the call is not empty.
    void callChanged(const QString &call);

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void retranslate(Language language);
    void frequenciesChanged();
    void stationChanged(const QString &call);
    void showWorkedInPass();
    void colourTexts();
    void modePicked(const QString &mode);
    void manualTimeToggled(bool on);
    void listeningToggled(bool on);
    bool correctionDue() const;
    void manualDateLeft();
    void manualTimeLeft();
    void blink();
    QWidget *fieldFor(EntryField field) const;
    QWidget *trackedWidget(TrackedField field) const;
    QString trackedText(TrackedField field) const;
    void writeTracked(TrackedField field, const QString &value);
    void focusMoved(QWidget *old, QWidget *now);
    // Whether the cursor (focus) is in the field.
    static bool holds(const QWidget *field, const QWidget *focus);
    // Writes the tracking values held back for the cursor into the fields still tracking's.
    void takeHeldBackValues();
    void takeHeldBack(TrackedField field);

    Session &m_session;
    QLabel *m_stationCaption, *m_satelliteCaption, *m_orbitCaption, *m_uplinkCaption, *m_downlinkCaption;
    QLabel *m_uplinkModeCaption, *m_downlinkModeCaption, *m_sentCaption, *m_receivedCaption;
    QLabel *m_locatorCaption, *m_notesCaption, *m_dateCaption, *m_timeCaption;
    QLabel *m_previous, *m_workedInPass, *m_satMode, *m_elementInfo;
    QLineEdit *m_station, *m_satellite, *m_orbit, *m_uplink, *m_downlink, *m_sent, *m_received;
    QLineEdit *m_locator, *m_notes, *m_date, *m_time;
    QComboBox *m_uplinkMode, *m_downlinkMode, *m_satellites;
    QToolButton *m_listButton;
    QAction *m_listKey; // opens the satellite list from the keyboard
    QGroupBox *m_reportBox;
    QCheckBox *m_listening, *m_manualTime, *m_keepNotes;
    QPushButton *m_save, *m_clear;
    QString m_azimuth, m_elevation, m_elementAge, m_catalogue;
    bool m_elementsStale = false;
    PreviousContactFill m_previousFill;
    QTimer m_blinkTimer;
    bool m_blinkRed = false;
    bool m_correcting = false; // a correction message is up: ignore the focus changes it causes
    TrackedFields m_tracked;
};

} // namespace vorta
