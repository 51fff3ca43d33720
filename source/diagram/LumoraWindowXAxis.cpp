// The diagram window's x axis: after every read the unit is recognised and, when the
// settings ask for it, "Wellenlängenformat" proposes a conversion into nanometres; the
// scaling dialog's values are applied; "Wellenlänge" moves the x value at the reticle (126)
// or at the selected line (154) to a new one. The document computes and records the undo
// entries; the window asks and tells.
#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>

#include "app/AppContext.h"
#include "app/Commands.h"
#include "diagram/LumoraWindow.h"
#include "dialogs/NumberField.h"
#include "dialogs/display/PlotDispDialog.h"
#include "dialogs/xaxis/ChangeWavelengthDialog.h"
#include "dialogs/xaxis/ConvertPtoWDialog.h"
#include "dialogs/xaxis/ConvertWavelengthDialog.h"
#include "lumcore/Printf.h"
#include "lumio/Outcome.h"
#include "services/MessageBox.h"
#include "services/ModalRunner.h"
#include "services/StringTable.h"

namespace {

const QString kConvertSection = QStringLiteral("Convert Data");
const QString kProposeKey = QStringLiteral("ConvertWDialog");

QString fromStd(const std::string& s) {
    return QString::fromStdString(s);
}

// The dialog's "%g" text of a value.
QString shown(float value) {
    return fromStd(lumcore::strprintf("%g", double(value)));
}

// The keys of "Convert Data" that keep the calibration dialog's fields, with the text each
// starts with and the one written for an empty field.
struct CalibrationKey {
    const char* key;
    QString ConvertPtoWDialogXfer::*field;
    const char* initial;
    const char* whenEmpty;
};
constexpr CalibrationKey kCalibrationKeys[] = {
    {"Point1", &ConvertPtoWDialogXfer::point1, "1", "1"},
    {"Point2", &ConvertPtoWDialogXfer::point2, "1", "2"},
    {"Wavelength1", &ConvertPtoWDialogXfer::wavelength1, "0", "100"},
    {"Wavelength2", &ConvertPtoWDialogXfer::wavelength2, "0", "200"},
    {"MainPoint", &ConvertPtoWDialogXfer::point, "1", "1"},
    {"MainWavelength", &ConvertPtoWDialogXfer::wavelength, "0", "500"},
    {"Dispersion", &ConvertPtoWDialogXfer::dispersion, "1", "1"}};

struct WaitCursor {
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
};

}  // namespace

void LumoraWindow::declareXAxisCommands() {
    xFormatStep_ = [this](SpectrumRecord& record) { recogniseAndPropose(record); };
    const auto enabled = [this](int id) {
        return [this, id] { return !minimised() && document_.isEnabled(id); };
    };
    commands_.add(
        cmd::AdjustWavelength, [this] { adjustWavelength(true); }, enabled(cmd::AdjustWavelength));
    commands_.add(
        cmd::LineWavelength, [this] { adjustWavelength(false); }, enabled(cmd::LineWavelength));
    commands_.add(
        cmd::Scaling,
        [this] {
            showModeless(Modeless::Scaling, 1,
                         [this] { return new PlotDispDialog(context_.messages(), window()); });
        },
        enabled(cmd::Scaling), [this] { return modelessDialog(Modeless::Scaling) != nullptr; });
    commands_.add(
        cmd::WavelengthFormat,
        [this] {
            if (!document_.overlays().empty())
                convertWavelength(document_.overlays().current(), false);
        },
        enabled(cmd::WavelengthFormat));
}

// The step of every read: the unit from the file or its values, then, for Ångström, pixel
// numbers or wavenumbers, the question whether to convert them.
void LumoraWindow::recogniseAndPropose(SpectrumRecord& record) {
    document_.recogniseXFormat(record);
    const int code = record.xFormat.formatCode;
    const bool propose = context_.profile().getInt(kConvertSection, kProposeKey, 1) == 1;
    if (propose && code >= lumdb::kAngstrom && code <= lumdb::kWavenumbers)
        convertWavelength(document_.overlays().count(), true);
}

// "Wellenlängenformat" for the spectrum at `position` and the conversion chosen. While a
// file is opened (`opening`) a cancel ends the open. False when nothing changed.
bool LumoraWindow::convertWavelength(std::size_t position, bool opening) {
    using X = ConvertWavelengthDialogXfer;
    SpectrumRecord& record = document_.overlays().record(position);
    X& x = convertWavelengthDialogXfer();
    x.fileName = fromStd(record.fileName);
    switch (record.xFormat.formatCode) {
        case lumdb::kAngstrom:
            x.option = X::Angstrom;
            break;
        case lumdb::kPixels:
            x.option = X::Pixels;
            break;
        case lumdb::kWavenumbers:
            x.option = X::Wavenumbers;
            break;
        default:
            x.option = X::None;
    }
    x.propose = context_.profile().getInt(kConvertSection, kProposeKey, 1) == 1;
    ConvertWavelengthDialog dialog(x, context_.showHelp, messageOwner_);
    if (context_.dialogs().run(dialog) != QDialog::Accepted) {
        if (opening) throw lumio::Outcome("CancelConvertWavelength");
        return false;
    }
    lumdb::XResult result = lumdb::XResult::Done;
    bool changedX = false;
    switch (x.option) {
        case X::Angstrom:
            result = document_.convertAngstrom(position);
            changedX = result == lumdb::XResult::Done;
            break;
        case X::Wavenumbers:
            result = document_.convertWavenumbers(position);
            changedX = result == lumdb::XResult::Done;
            break;
        case X::Pixels:
            // Pixel numbers, which the calibration then gives wavelengths. Later, nothing
            // changes before the calibration's OK.
            if (opening && record.xFormat.formatCode != lumdb::kPixels) {
                record.xFormat = {lumdb::kPixels, 0, 0.0f, 1.0f, record.xFormat.fileUnit};
                record.axisText.xUnit = record.axisText.xUnitStatus = {};
                document_.axis.xLabel = "Punkte";
            }
            break;
        case X::None:
            break;
    }
    context_.profile().writeInt(kConvertSection, kProposeKey, x.propose ? 1 : 0);
    if (result != lumdb::XResult::Done) tellXRefused(messageOwner_, result);
    if (x.option == X::Pixels) return calibrate(position, opening);
    if (changedX && !opening) afterXChange();
    return changedX;
}

// "Wellenlängenzuordnung" for the pixel spectrum at `position`. Opened later (132) it stays
// beside the diagram, where a click moves the reticle, whose position it can take; the
// diagram takes no other command meanwhile. Nothing changes before OK.
bool LumoraWindow::calibrate(std::size_t position, bool opening) {
    using X = ConvertPtoWDialogXfer;
    const SpectrumRecord& record = document_.overlays().record(position);
    Profile& profile = context_.profile();
    X& x = convertPtoWDialogXfer();
    const int method = profile.getInt(kConvertSection, QStringLiteral("Scaling"), 1);
    x.method = method == 1 ? X::TwoPoints : method == 2 ? X::PointAndDispersion : X::None;
    for (const CalibrationKey& k : kCalibrationKeys)
        x.*k.field = profile.getString(kConvertSection, QString::fromLatin1(k.key),
                                       QString::fromLatin1(k.initial));
    const bool beside = !opening && position == document_.overlays().current();
    const bool reticle = beside && document_.reticle.shown;
    x.label = QStringLiteral("%1;%2;%3")
                  .arg(fromStd(record.fileName))
                  .arg(record.points.size())
                  .arg(reticle ? 1 : 0);
    x.propose = profile.getInt(kConvertSection, kProposeKey, 1) == 1;

    QPointer<LumoraWindow> alive(this);
    QPointer<ConvertPtoWDialog> dialog = new ConvertPtoWDialog(
        x, context_.messages(),
        [this]() { return document_.pixelOf(document_.reticle.position.x); }, context_.showHelp,
        opening ? messageOwner_ : static_cast<QWidget*>(this));
    if (beside) {
        dialog->setProperty(ModalRunner::kBesideWindow, true);
        dialog->setWindowFlag(Qt::Tool);
        connect(this, &LumoraWindow::reticleMoved, dialog, &ConvertPtoWDialog::reticleMoved);
        const QRect frame = window()->frameGeometry();
        dialog->move(frame.right() + 1, frame.top());
        document_.calibrating = true;
        emit commandStatesChanged();
    }
    const int answer = context_.dialogs().run(*dialog);
    delete dialog;
    if (!alive) return false;
    if (beside) {
        document_.calibrating = false;
        emit commandStatesChanged();
    }
    if (answer != QDialog::Accepted) return false;

    const WaitCursor wait;
    const auto number = [](const QString& text) {
        return double(numberfield::read(text).value_or(0.0f));
    };
    std::optional<lumdb::PixelCalibration> calibration;
    if (x.method == X::TwoPoints)
        calibration = lumdb::PixelCalibration::fromTwoPoints(
            number(x.point1), number(x.wavelength1), number(x.point2), number(x.wavelength2));
    else if (x.method == X::PointAndDispersion)
        calibration = lumdb::PixelCalibration::fromPointAndDispersion(
            number(x.point), number(x.wavelength), number(x.dispersion));
    const lumdb::XResult result = x.method != X::None && !calibration
                                      ? lumdb::XResult::OutOfRange
                                      : document_.calibratePixels(position, calibration);
    if (result != lumdb::XResult::Done) {
        tellXRefused(opening ? messageOwner_ : this, result);
        return false;
    }
    profile.writeInt(kConvertSection, QStringLiteral("Scaling"),
                     x.method == X::TwoPoints            ? 1
                     : x.method == X::PointAndDispersion ? 2
                                                         : 0);
    for (const CalibrationKey& k : kCalibrationKeys) {
        const QString& text = x.*k.field;
        profile.writeString(kConvertSection, QString::fromLatin1(k.key),
                            text.isEmpty() ? QString::fromLatin1(k.whenEmpty) : text);
    }
    profile.writeInt(kConvertSection, kProposeKey, x.propose ? 1 : 0);
    if (!opening) afterXChange();
    return true;
}

void LumoraWindow::tellXRefused(QWidget* owner, lumdb::XResult result) {
    const QString text =
        result == lumdb::XResult::NotPositive
            ? QStringLiteral(
                  "Die Datei beinhaltet Wellenzahlen, die kleiner oder gleich 0 "
                  "sind.\nEine Konvertierung ist nicht möglich.")
            : QStringLiteral("Die neuen Werte liegen außerhalb des Zahlenbereichs!");
    context_.messages().show(owner, text, strings::InputError, MessageBox::Icon::Exclamation,
                             MessageBox::Buttons::Ok, true);
}

void LumoraWindow::afterXChange() {
    changed();
    emit rangeChanged();
    if (auto* scaling = qobject_cast<PlotDispDialog*>(modelessDialog(Modeless::Scaling))) {
        const std::array<float, 4>& v = document_.scaling;
        scaling->setScaling({v[0], v[1], v[2], v[3]});
    }
}

bool LumoraWindow::applyScaling(const std::array<float, 4>& values) {
    const lumdb::XResult result = document_.applyScaling(values);
    if (result != lumdb::XResult::Done) {
        QWidget* owner = modelessDialog(Modeless::Scaling);
        tellXRefused(owner ? owner : this, result);
        return false;
    }
    afterXChange();
    return true;
}

// "Wellenlänge" for the x value at the reticle or at the selected line: the new value
// replaces it by a shift, or by a stretch that keeps the fixed point in its place.
void LumoraWindow::adjustWavelength(bool atReticle) {
    if (!document_.isEnabled(atReticle ? cmd::AdjustWavelength : cmd::LineWavelength) ||
        document_.overlays().empty())
        return;
    const SpectrumRecord& r = document_.overlays().currentRecord();
    float old = document_.reticle.position.x;
    if (!atReticle) {
        const auto at = std::size_t(document_.selectedLine());
        old = r.foundLinesShown && r.foundLineSelected ? r.spectrumLines[at].x
                                                       : r.databaseLines[at].wavelength;
    }
    const DiagramDocument::XNames names = document_.xNames();
    ChangeWavelengthDialogXfer& x = changeWavelengthDialogXfer();
    if (names.pixels) {
        x.oldLabel = QStringLiteral("Alter Punkt:");
        x.newLabel = QStringLiteral("Neuer Punkt:");
    } else {
        x.oldLabel = QStringLiteral("Alte %1:").arg(fromStd(names.label));
        x.newLabel = QStringLiteral("Neue %1:").arg(fromStd(names.label));
    }
    x.fixedLabel = names.pixels ? fromStd(names.label) : fromStd(names.label) + ':';
    x.unit = fromStd(names.unit);
    x.oldNumber = old;
    x.oldValue = shown(old);
    x.newValue = x.oldValue;
    x.fixedNumber = document_.fixedPoint;
    x.fixedValue = shown(document_.fixedPoint);
    ChangeWavelengthDialog dialog(x, context_.messages(), context_.showHelp, this);
    dialog.setWindowTitle(atReticle ? QStringLiteral("Wellenlänge am Fadenkreuz justieren")
                                    : QStringLiteral("Wellenlänge der Linie justieren"));
    if (context_.dialogs().run(dialog) != QDialog::Accepted) return;
    const float to = numberfield::read(x.newValue).value_or(old);
    const lumdb::XResult result = document_.adjustWavelength(old, to, x.keepFixed);
    if (result != lumdb::XResult::Done) {
        tellXRefused(this, result);
        return;
    }
    afterXChange();
}

void LumoraWindow::attachScaling(PlotDispDialog& dialog, bool fresh) {
    if (fresh)
        connect(&dialog, &PlotDispDialog::scalingApplied, this,
                [this](const PlotDispDialog::Scaling& s) {
                    applyScaling({s.xShift, s.xStretch, s.yShift, s.yStretch});
                });
    dialog.setDiagramActive(true);
    const std::array<float, 4>& v = document_.scaling;
    dialog.setScaling({v[0], v[1], v[2], v[3]});
}
