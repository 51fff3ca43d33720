// The diagram window: the widget of one diagram child, showing its DiagramDocument and
// answering the diagram commands through its command table. It asks the user only through
// the services of its application context, and paints through the DiagramPainter, whose
// drawing errors it reports after the paint, never from inside it.
#pragma once

#include <QImage>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "app/CommandTable.h"
#include "app/CommandTarget.h"
#include "diagram/ContextMenu.h"
#include "diagram/DiagramDocument.h"
#include "diagram/DiagramPainter.h"
#include "lumgl/Reticle.h"
#include "reports/LineInfoFrameWindow.h"

class AppContext;
class DisplayValueDialog;
class IntegralDialog;
class PlotDispDialog;
class LumoraMDIClient;
class QDialog;
class QPainter;
class QPrinter;
class QRegion;
class QRubberBand;
class SearchLinesDialog;

class LumoraWindow : public QWidget, public CommandTarget {
    Q_OBJECT
  public:
    explicit LumoraWindow(AppContext& context, QWidget* parent = nullptr);

    // The diagram opener of the MDI client (AppContext::Windows::diagram): a new window
    // holding `path`, or null after the user was told why the file could not be opened.
    static QWidget* open(LumoraMDIClient& client, const QString& path);

    DiagramDocument& document() { return document_; }
    const DiagramDocument& document() const { return document_; }
    DiagramPainter& painter() { return painter_; }
    const CommandTable& commands() const override { return commands_; }

    // Adds a spectrum file as the next overlay and makes it current. False, with the
    // document unchanged, after telling the user why it failed (nothing for a cancelled
    // choice).
    bool addSpectrumFile(const QString& path) override;
    // The x-format step of every read (determining and applying a spectrum's x format; it
    // may ask the user and throw "CancelConvertWavelength"), set by the x-axis code.
    void setXFormatStep(std::function<void(SpectrumRecord&)> step) {
        xFormatStep_ = std::move(step);
    }
    // Makes another spectrum current, as the plot selection box does; false for a position
    // that holds none.
    bool setCurrentSpectrum(std::size_t position);
    // Files dropped on the diagram are overlaid, in the order given, until one fails.
    void overlayDropped(const QList<QUrl>& urls);
    void nameCurrentSpectrum(const QString& word) override;
    // Configuration files, for the settings dialogs. "Konfiguration laden" loads the asking
    // dialog's part from a chosen file; "Konfiguration speichern" makes a chosen file the
    // window's configuration file and saves the part there: with the window's values, or
    // with the dialog's, which `dialogValues` puts into the document for this write only (the
    // window's own values change on the dialog's OK alone). `saveSettings` writes the part
    // to the window's configuration file, or to the settings file while there is none (or
    // when asked to). Each is false when cancelled or after telling the user of a failure.
    using SettingsPart = DiagramDocument::SettingsPart;
    bool loadConfiguration(SettingsPart part);
    bool saveConfigurationAs(SettingsPart part,
                             const std::function<void(DiagramDocument&)>& dialogValues = {});
    bool saveSettings(SettingsPart part, bool toSettingsFile = false);

    // The window's modeless dialogs, which the dialog code registers while they are open
    // (null when closed). A run or a read disables them; minimising the last diagram that is
    // not minimised hides them.
    enum class Modeless {
        DisplayRange,
        Scaling,
        PlotSelection,
        LineSearch,
        Integral,
        LineInformation
    };
    void setModelessDialog(Modeless kind, QWidget* dialog);
    QWidget* modelessDialog(Modeless kind) const;
    void setModelessDialogsEnabled(bool enabled) override;
    std::vector<QWidget*> modelessDialogs() const override;

    // Shows another displayed range (x min, x max, y min, y max) as an undoable change; a
    // reticle outside the new x range moves to the middle.
    void applyDisplayRange(const std::array<float, 4>& range);
    // The diagram as last drawn: the plot area and scaling that mouse positions map through.
    const SPlotInfo& laidOut() const { return laidOut_; }

    // The caption: the current spectrum's file name.
    QString caption() const;
    void redraw();
    QSize sizeHint() const override { return {720, 460}; }

  signals:
    // Something the enabling or checking of commands depends on has changed.
    void commandStatesChanged();
    // The window's analysis settings were loaded anew; open settings dialogs show them.
    void analysisSettingsChanged();
    // The displayed range has changed; the display-range dialog shows the new one.
    void rangeChanged();
    // The reticle stands on another point (or was drawn anew).
    void reticleMoved();

  protected:
    // Paints from the cached diagram image, which is drawn anew only after redraw() or a
    // resize.
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Line editing: in add-line mode the mouse and Enter/Escape drive the marker first.
    bool event(QEvent* event) override;

  private:
    void declareCommands();
    bool minimised() const;
    void changed();
    void overlayFiles();
    void fileInformation();
    void saveAs();
    void loadSettings(DiagramDocument& document);
    void initialAutoscale();
    void reportPlotError(int code);
    void drawDiagramImage();
    void notePlotError(int code);

    AppContext& context_;
    DiagramDocument document_;
    DiagramPainter painter_;
    CommandTable commands_;
    std::array<QPointer<QWidget>, 6> modeless_;
    std::function<void(SpectrumRecord&)> xFormatStep_;
    std::optional<lumcore::IniFile> setupSettings_;  // until the first spectrum has loaded it
    QImage backing_;
    bool backingStale_ = true;  // redraw() asked for a new drawing of the image
    bool imageDrawn_ = false;   // the image holds a complete drawing laid out as laidOut_
    SPlotInfo laidOut_;
    QWidget* messageOwner_ = this;  // the frame's window while the window is not shown yet
    int reportedError_ = 0;         // the drawing error told last; 0 after a good paint

    // --- Range: zoom rectangle, autoscale, x inversion, line selection by mouse, context menu
  public:
    // The context menu's items as the window would show them now.
    std::vector<ContextMenuItem> contextMenuItems() const;
    // A zoom rectangle was asked for (command 127) or is being dragged.
    bool zoomPending() const { return zoom_ != Zoom::Off; }

  protected:
    // Escape cancels a zoom; left and right arrow keys step the reticle one point (ten with
    // Shift).
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void declareRangeCommands();
    void requestZoom();
    bool cancelZoom();
    void autoscaleRange(bool x, bool y);
    int raiseForLabels();
    void invertX();
    void selectLineAt(QPoint position);
    void drawSelection(lumgl::Canvas& canvas, const SPlotInfo& laidOut) const;

    enum class Zoom { Off, Requested, Dragging };
    Zoom zoom_ = Zoom::Off;
    QPoint zoomStart_;
    QRubberBand* rubberBand_ = nullptr;

    // --- Plot dialogs: display range, labels, curve colour, file list and legend.
  public:
    // The frame moved: the modeless dialogs keep their place beside it.
    void frameEvent(QEvent* event) override;
    // Takes a modeless dialog of another diagram over when this one becomes active.
    void attachModeless(Modeless kind, QWidget* dialog);
    // Shows the window's modeless dialog of `kind`, made by `make` and placed beside the main
    // window at `place` when it is not there yet, else raised.
    void showModeless(Modeless kind, int place, const std::function<QWidget*()>& make);

  private:
    void declareDialogCommands();
    void openDisplayRange();
    void openPlotSelection();
    void followDocument();
    void watchActivation(Modeless kind, QWidget* dialog);
    void placeModeless();
    void chooseCurveColor();
    void editViewOptions();
    void toggleLegend();
    void drawLegend(lumgl::Canvas& canvas, const SPlotInfo& laidOut) const;

    std::size_t spectraSeen_ = 0;  // the spectrum count the file list last followed

    // --- Line editing: add-line mode with its marker (a data point of the current spectrum),
    // deleting lines, pruning a line's candidates.
    void declareLinesCommands();
    void enterAddLineMode();
    void moveAddLineMarker(QPoint position);
    void addLineAtMarker();
    void followAddLineMode();  // cursor, marker and read-out as the document's mode says
    void showMarkerReadout();
    QRegion addLineMarkerRegion() const;
    void drawAddLineMarker(QPainter& painter) const;
    void editLineEntries();
    TPointF addLineMarker_;
    // The mode as the widget last took it up (cursor, mouse tracking); every change of the
    // document catches the widget up through commandStatesChanged.
    bool addLineShown_ = false;
    bool trackedBefore_ = false;
    // The reticle: a cross hair on the cached image, with its status-bar read-out and its
    // value label. Its data position is document_.reticle.position, always a point of the
    // current spectrum; the pixels under the cross are saved so that a move restores them
    // instead of drawing the diagram again.
  public:
    // Command 172: shows or hides the reticle and keeps the choice ("Line Cursor").
    void setReticleShown(bool shown);
    // Moves the reticle `steps` points of the current spectrum towards larger x (negative:
    // smaller x). At the end of the data it stays, with a beep, and this is false.
    bool stepReticle(int steps);
    // Moves the reticle to the point of the current spectrum nearest in x to `position`.
    void moveReticle(TPointF position);
    // Where the cross is drawn on the image (valid while it is drawn).
    SDevicePoint reticlePoint() const { return reticlePoint_; }
    bool reticleDrawn() const { return reticleOnImage_; }
    DisplayValueDialog* reticleLabel() const { return valueLabel_; }
    // The cached diagram image as last drawn, with the cross when it is shown.
    const QImage& diagramImage() const { return backing_; }
    // Shows or hides the label as the reticle, the label byte and the add-line mode say.
    void placeReticleLabel();
    // The status bar's read-out of a point of the current spectrum, with its units.
    QString readoutText(TPointF p) const;

  private:
    void declareReticleCommands();
    void makeReticleBuffers();
    int drawReticleAnew(lumgl::Canvas& canvas);
    void shiftReticle();
    void showReticleValues();
    QRegion reticleRegion() const;

    ReticleBuffers reticleBuffers_;
    SDevicePoint reticlePoint_{};
    bool reticleOnImage_ = false;  // drawn on the image, its pixels saved in the buffers
    DisplayValueDialog* valueLabel_ = nullptr;

    // --- Integral: the modeless integral dialog (command 135), the computation and the two
    // bound markers, drawn while the integral display is on.
  public:
    // "Berechnen": checks the dialog's bounds against the displayed x range, orders them as
    // the x axis runs, integrates the current spectrum between the points they snap to (in
    // increasing x), shows the value and the snapped bounds and marks them in the diagram.
    void computeIntegral();

  private:
    void openIntegral();
    void attachIntegral(IntegralDialog& dialog, bool fresh);
    void closeIntegral();
    void followIntegral();
    void showIntegralBounds();
    void drawIntegralBounds(lumgl::Canvas& canvas, const SPlotInfo& laidOut) const;
    bool integrate(float left, float right);
    // The point list the shown integral was computed on.
    const TPointF* integralData_ = nullptr;
    std::size_t integralSize_ = 0;

    // --- Line information (157, 158): the window with the candidates of the selected or of
    // every found line, or the entries of shown database lines; created on first use, gone
    // when the user closes it.
  public:
    LineInfoFrameWindow* lineInfoWindow() const { return lineInfo_; }
    void closeLineInfo();

  private:
    void declareLineInfoCommands();
    void showLineInfo(bool all);
    // The current spectrum's file name after the last separator.
    std::string currentBaseName() const;
    QPointer<LineInfoFrameWindow> lineInfo_;

    // --- Output: export to a graphics file (115), the clipboard (136), printing and its
    // preview (24337, 24340), each drawn anew as the window shows it, without the reticle.
  public:
    // Writes the diagram to `path` by its extension (case-blind: BMP, WMF, WPG, PNG, PDF,
    // SVG) and tells the user how it went; true when the file was written.
    bool exportTo(const QString& path);
    // The diagram as the window shows it, on a white image of the window's size; null when
    // it cannot be drawn (the user has been told).
    QImage renderImage();

  private:
    void declareOutputCommands();
    void exportDiagram();
    void copyToClipboard();
    void printDiagram(bool preview);
    void printOn(QPrinter& printer);
    // Draws with `draw`, telling the user of a drawing error; false then.
    bool drawForOutput(const std::function<void()>& draw);

    // --- X axis: the unit question after every read, shift and stretch (the scaling
    // dialog's "Anwenden"), and the wavelength adjustments at the reticle (126) and at the
    // selected line (154).
  public:
    // Shifts and stretches the current spectrum to `values` (x shift, x stretch, y shift,
    // y stretch) as an undoable change; false, after telling the user, when refused.
    bool applyScaling(const std::array<float, 4>& values);

  private:
    void declareXAxisCommands();
    void recogniseAndPropose(SpectrumRecord& record);
    bool convertWavelength(std::size_t position, bool opening);
    bool calibrate(std::size_t position, bool opening);
    void adjustWavelength(bool atReticle);
    void attachScaling(PlotDispDialog& dialog, bool fresh);
    void tellXRefused(QWidget* owner, lumdb::XResult result);
    void afterXChange();

    // --- Analysis: the identification view (command 151) with its dialog and protocol, line
    // search and identification (152), the database's line positions (160), and the guard
    // every library run holds.
  public:
    // The protocol the runs have written, one entry per line; the identification dialog
    // shows it.
    const QStringList& protocol() const { return protocol_; }
    // Whether a library run of this window is under way.
    bool running() const { return running_; }
    // The identification dialog while the analysis display is on.
    SearchLinesDialog* searchLinesDialog() const;

  private:
    class AnalysisRun;
    void declareAnalysisCommands();
    void toggleAnalysisDisplay();
    void identifySpectrum();
    void showDatabaseLines();
    void openSearchLines();
    void refreshSearchLines();
    void editDatabaseSettings();
    void editIdentificationSettings();
    void appendProtocol(const std::string& line);
    void drawSmoothedCurve(lumgl::Canvas& canvas, const SPlotInfo& laidOut) const;
    // This diagram and every other diagram of its MDI area.
    QList<LumoraWindow*> allDiagrams();
    void smoothSpectrum();
    void combineSpectra();
    // Runs an analysis dialog modally with the modeless dialogs of every diagram disabled.
    int runAnalysisDialog(QDialog& dialog);
    bool commitOverlay(SpectrumRecord& made, const SpectrumRecord& source, bool done);
    QStringList protocol_;
    bool running_ = false;
    bool saveIdentificationDefaults_ = false;  // the settings sheet's "Als Standard speichern"
};
