// "Wellenlängenzuordnung": wavelengths for the pixel numbers of a spectrum, through two
// points with their wavelengths, through one point with its wavelength and the dispersion,
// or none (the pixel numbers themselves). "Fadenkreuzwert übernehmen" takes the reticle's
// position into the point field that last had the focus.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <optional>

class MessageBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

struct ConvertPtoWDialogXfer {
    enum Method { TwoPoints, PointAndDispersion, None };
    // The file name, the number of points and a flag (1: the reticle's position can be
    // taken), joined by ";".
    QString label;
    Method method = TwoPoints;
    QString point1;
    QString point2;
    QString wavelength1;
    QString wavelength2;
    QString point;
    QString dispersion;
    bool propose = true;  // "Konvertierung automatisch vorschlagen"
    QString wavelength;   // of the point with the dispersion
};

// The record every such dialog shows, kept from one opening to the next.
ConvertPtoWDialogXfer& convertPtoWDialogXfer();

class ConvertPtoWDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr const char* kHelpTopic = "IDD_CONVERTPTOWDIALOG";
    enum Field { Point1, Point2, Wavelength1, Wavelength2, Point, Wavelength, Dispersion };

    // `reticle` gives the reticle's position in pixels, when there is one.
    ConvertPtoWDialog(ConvertPtoWDialogXfer& xfer, MessageBox& messages,
                      std::function<std::optional<float>()> reticle, std::function<void()> help,
                      QWidget* parent = nullptr);

    QLineEdit* field(Field f) const { return fields_[std::size_t(f)]; }
    QRadioButton* radio(ConvertPtoWDialogXfer::Method m) const { return radios_[std::size_t(m)]; }
    QPushButton* takeButton() const { return take_; }
    QCheckBox* proposeBox() const { return propose_; }
    QString shownName() const;
    int pointCount() const { return pointCount_; }

    // Reads the fields and checks those of the chosen method; a failure is told and the
    // dialog stays open.
    void accept() override;

  public slots:
    // The reticle moved: its new position may be taken.
    void reticleMoved();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void enableMethod();
    void takeReticle();
    bool check();

    ConvertPtoWDialogXfer& xfer_;
    MessageBox& messages_;
    std::function<std::optional<float>()> reticle_;
    std::array<QLineEdit*, 7> fields_{};
    std::array<QRadioButton*, 3> radios_{};
    QPushButton* take_;
    QCheckBox* propose_;
    QLabel* name_;
    int pointCount_ = 0;
    bool reticleAvailable_ = false;
    Field lastPoint_ = Point1;
    bool pointFocused_ = false;
};
