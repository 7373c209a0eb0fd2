#include "common/captionwidget.h"

#include "common/contrast.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QStyle>
#include <QStyleOptionFrame>

namespace vorta {

namespace {

// The emphasis of a widget's type, in points above the window's.
constexpr char kFontDelta[] = "vortaFontDelta";
const QString kFitterName = QStringLiteral("vortaWidthFitter");

int widthFor(QWidget *widget, const QString &sample)
{
    const QFontMetrics metrics = widget->fontMetrics();
    const int text = metrics.horizontalAdvance(sample);
    if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        // As QLineEdit measures itself: its inner margins, the cursor, then the style's frame.
        const QMargins margins = edit->textMargins();
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
        const QSize contents(text + 2 * 2 + 1 + margins.left() + margins.right(), metrics.height());
        return edit->style()->sizeFromContents(QStyle::CT_LineEdit, &option, contents, edit).width();
    }
    const QMargins margins = widget->contentsMargins();
    int width = text + margins.left() + margins.right();
    if (auto *label = qobject_cast<QLabel *>(widget))
        width += 2 * label->margin() + 2 * label->frameWidth();
    return width;
}

class WidthFitter : public QObject
{
public:
    explicit WidthFitter(QWidget *widget) : QObject(widget), m_widget(widget)
    {
        setObjectName(kFitterName);
        widget->installEventFilter(this);
    }

    void set(const QString &sample, Fit fit, int extra)
    {
        m_sample = sample;
        m_fit = fit;
        m_extra = extra;
        apply();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_widget && (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange))
            apply();
        return false;
    }

private:
    void apply()
    {
        const int width = widthFor(m_widget, m_sample) + m_extra;
        if (m_fit != Fit::AtMost)
            m_widget->setMinimumWidth(width);
        if (m_fit != Fit::AtLeast)
            m_widget->setMaximumWidth(width);
    }

    QWidget *m_widget;
    QString m_sample;
    Fit m_fit = Fit::Exactly;
    int m_extra = 0;
};

} // namespace

QLabel *valueLabel(int pointSizeDelta, bool bold)
{
    auto *label = new QLabel;
    emphasize(label, pointSizeDelta, bold);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void colourText(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, readableOn(colour, palette.color(QPalette::Window)));
    widget->setPalette(palette);
}

void emphasize(QWidget *widget, int delta, bool bold)
{
    QFont font = widget->font();
    font.setPointSize(font.pointSize() + delta);
    font.setBold(bold);
    widget->setFont(font);
    widget->setProperty(kFontDelta, delta);
}

void applyFontScale(QWidget &window, int percent)
{
    const QFont desktop = QApplication::font();
    if (desktop.pointSizeF() <= 0)
        return; // a desktop font given in pixels: left as the desktop sets it
    const double factor = percent / 100.0;
    QFont base = desktop;
    base.setPointSizeF(desktop.pointSizeF() * factor);
    window.setFont(base);
    for (QWidget *widget : window.findChildren<QWidget *>()) {
        const QVariant delta = widget->property(kFontDelta);
        if (!delta.isValid() || widget->window() != &window)
            continue;
        QFont font = widget->font();
        font.setPointSizeF((desktop.pointSizeF() + delta.toInt()) * factor);
        widget->setFont(font);
    }
}

void showValue(QLabel *label, const QString &caption, const QString &value)
{
    label->setText(value);
    QString name = caption.trimmed();
    if (name.endsWith(u':'))
        name.chop(1);
    label->setAccessibleName(value.isEmpty() ? name : name + QStringLiteral(": ") + value);
}

void nameList(QComboBox *list, const QString &name)
{
    // On Linux a list's accessible name is its value and its caption comes from its buddy, which
    // two lists may share ("Modo:"); the description and the field typed into tell them apart.
    list->setAccessibleName(name);
    list->setAccessibleDescription(name);
    if (QLineEdit *edit = list->lineEdit())
        edit->setAccessibleName(name);
}

void fitWidth(QWidget *widget, const QString &sample, Fit fit, int extra)
{
    auto *fitter = static_cast<WidthFitter *>(widget->findChild<QObject *>(kFitterName, Qt::FindDirectChildrenOnly));
    if (!fitter)
        fitter = new WidthFitter(widget);
    fitter->set(sample, fit, extra);
}

} // namespace vorta
