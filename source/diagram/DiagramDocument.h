// The document of one diagram window, free of widgets: the spectra with their pens and
// histories, the displayed range and view flags, the window's analysis settings and element
// lists, the reticle's data position, the selected line, and the rules for which commands
// apply. The window shows it and asks the user; everything it decides is decided here, so
// it is tested without a screen.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "diagram/OverlayTable.h"
#include "lumdb/AnalysisSettings.h"
#include "lumdb/XAxis.h"
#include "lumio/Ui.h"

class DiagramDocument {
  public:
    // The private message that re-applies a displayed range (x min, x max, y min, y max).
    static constexpr unsigned kApplyRange = 1214;

    DiagramDocument();

    OverlayTable& overlays() { return overlays_; }
    const OverlayTable& overlays() const { return overlays_; }
    // The diagram's own description: displayed range, plot rectangle, view flags, font.
    SPlotInfo& plot() { return plot_; }
    const SPlotInfo& plot() const { return plot_; }

    struct AxisTexts {
        std::string xLabel = "Wellenlänge";
        std::string yLabel = "Signal";
        std::string xUnit;
        std::string yUnit;
    };
    struct Reticle {
        bool shown = false;
        bool reposition = false;  // the window's next drawing puts it at the plot's middle
        bool label = false;       // its value label is shown (switched on with the reticle)
        TPointF position;
    };
    struct Legend {
        bool shown = false;
        int position = 1;
        bool fileNames = false;
        bool lineSearch = false;
        bool identification = false;
    };

    AxisTexts axis;
    Reticle reticle;
    Legend legend;
    std::string fontName = "Arial";
    std::string fontType = "15,11,0,0";  // height, point size, bold, italic
    bool analysisDisplay = false;        // the identification view
    bool addLineMode = false;            // a click or Enter adds a line at the marker
    bool calibrating = false;  // a pixel calibration picks its points: no selection, no menu
    bool integralDisplay = false;
    // The points of the current spectrum the integral's bounds snapped to, the left one as
    // the x axis is displayed first; meaningful while the integral display is on.
    std::array<TPointF, 2> integralBounds{};
    bool runLineSearch = true;  // what the next identification run does
    bool runIdentification = true;
    // The identification dialog's choice: identify the spectrum (found lines shown) or show
    // the database's line positions.
    bool identifyMode = true;
    // The smoothed data of the last line search (empty without a filter), drawn over the
    // current spectrum while analysis.filterData is set. It belongs to that spectrum as it
    // stands: it goes when another spectrum becomes current, follows a shift or stretch and
    // goes with any other change of the x values.
    TPointList smoothed;
    lumdb::AnalysisSettings analysis = lumdb::AnalysisSettings::defaults();
    SSearchEngineVal database;
    TElementArray identificationElements;
    TElementArray databaseElements;
    std::string configurationPath;

    // Window set-up from the settings file: grid lines, logarithmic axes and the reticle
    // ("InitWindow"); legend, axis texts and the label font ("View Options"). An axis text
    // that begins with "&" keeps the built-in text; the font type is read as LabelFontType
    // reads it (a field missing counts 0, a point size of 0 or below becomes 11).
    void applyViewSettings(const lumcore::IniFile& ini);

    // The analysis settings in the settings file or in a configuration file. The settings
    // file holds both parts, the database part in "Database Selection"; a configuration file
    // holds one part, whose element selection is its "Element Selection". Loading from a
    // configuration file changes only `part`, the part of the dialog that asked.
    enum class SettingsPart { Identification, Database };
    void loadSettings(const lumcore::IniFile& ini, bool settingsFile,
                      SettingsPart part = SettingsPart::Identification);
    void saveSettings(lumcore::IniFile& ini, bool settingsFile, SettingsPart part) const;

    // The view toggles 174 to 178 (black/white, horizontal and vertical grid lines,
    // logarithmic x and y): switches the command's state and returns the new one, with the
    // settings-file section and key it is kept under (none for black/white).
    struct ViewToggle {
        bool on = false;
        const char* section = nullptr;
        const char* key = nullptr;
    };
    ViewToggle toggleView(int command);

    // Adding a spectrum file as the next overlay. `xFormat` determines and applies the
    // spectrum's x format and may ask the user (throwing lumio::Outcome
    // "CancelConvertWavelength" when the user cancels, which leaves as "CancelOpenFile");
    // `loadSettings` loads the window's analysis settings when the first spectrum arrives.
    struct AddSteps {
        std::function<void(SpectrumRecord&)> xFormat;
        std::function<void(DiagramDocument&)> loadSettings;
    };
    // Reads `path` into the next record and makes it current; returns the filter index of
    // the format read. Any failure throws (lumio::Outcome for the readers' keywords) and
    // leaves the document as it was; a full diagram throws std::length_error.
    int addSpectrum(const std::string& path, lumio::Ui& ui, int filterIndex, const AddSteps& steps);

    // The displayed range from the current spectrum's points: x as they span; y with room
    // above (a tenth of the top's magnitude) and below (2 % of the new height). False, with
    // nothing changed, when there are no points.
    bool autoscale(bool x, bool y);

    // Makes another spectrum current; the line selection does not carry over.
    bool setCurrent(std::size_t position);
    // Makes the record prepared in the overlay table (OverlayTable::prepareNext) current.
    void commitNext();
    void closeCurrent();
    void closeOverlays();

    // The selected line of the current spectrum: an index into its found lines or its
    // database lines (whichever is shown), or -1.
    int selectedLine() const { return selectedLine_; }
    void selectLine(int index);

    // The displayed range as x min, x max, y min, y max.
    std::array<float, 4> range() const;
    // Applies a range as an undoable change: the current range goes to the history first.
    void changeRange(const std::array<float, 4>& range);

    // The undo history of the current spectrum.
    HistorySnapshot& pushUndo(std::string restoreText);
    void flushHistory();
    bool undo();
    bool redo();
    MessageRegistry& messages() { return messages_; }

    // Line editing on the current spectrum's shown list. Each change is undoable: its text
    // is the message that reverses it with the spectrum's found-lines-shown and new-file
    // bytes ("1217,1,0"), its snapshot the lines it added or removed, with all their lists.
    // Every change clears the selection.
    static constexpr unsigned kRemoveLines = 1217;   // undoes an added line
    static constexpr unsigned kRestoreLines = 1218;  // undoes a deletion
    // A new found line at `at` (a point of the current spectrum), in order; leaves add-line
    // mode. False, with nothing recorded, unless the current spectrum shows its found lines.
    bool addLine(TPointF at);
    // The selected line, or every line of the shown list (found or database lines); false
    // when there is none.
    bool deleteSelectedLine();
    bool deleteAllLines();
    // Keeps the candidates of the selected found line at `keep` (rising indexes) and labels
    // its species anew from them, as the identification does; false without such a line.
    bool keepCandidates(const std::vector<std::size_t>& keep);
    // Add-line mode ends when the current spectrum no longer shows found lines.
    void followLineDisplay();

    // Whether a diagram command applies to the document's state (a minimised window
    // disables all of them; the window checks that).
    bool isEnabled(int command) const;
    bool isChecked(int command) const;

    // The legend's entries for the current state: each spectrum's file name after a sample of
    // its curve (with "FileNames"), the line search's summary (with "LineSearch", while the
    // current spectrum shows its found lines), the database lines' count (while it shows
    // those) and the identification's summary (with "LineIdentification").
    struct LegendEntry {
        std::string text;
        int sample = -1;  // the position whose curve pen is drawn before the text
    };
    std::vector<LegendEntry> legendEntries() const;

    // --- Range ---
    // Turns the x axis round: the displayed x range and every spectrum's x data range swap
    // their limits, and so do the integral's bounds while they are shown.
    void invertX();
    // Labels, legend and label font, as "Beschriftung" edits them and the legend command
    // toggles them. The title is the current spectrum's.
    struct ViewOptions {
        std::string title;
        AxisTexts axis;
        Legend legend;
        std::string fontName;
        std::string fontType;
    };
    ViewOptions viewOptions() const;
    // Takes the options over (texts cut to their room, the label font rebuilt) and writes
    // them to the "View Options" section of `ini`; a label equal to its built-in text is
    // written as "&", which keeps the built-in text.
    void setViewOptions(const ViewOptions& options, lumcore::IniFile& ini);
    // The label font from `fontName` and `fontType`.
    void rebuildLabelFont();

    // --- X axis: unit recognition, conversion to nanometres, shift and stretch ---
    // The private messages that re-apply scaling values and an x format.
    static constexpr unsigned kApplyScaling = 1215;
    static constexpr unsigned kApplyXFormat = 1216;
    // The window's copy of the scaling values (x shift, x stretch, y shift, y stretch), as
    // the scaling dialog shows them.
    std::array<float, 4> scaling{0.0f, 1.0f, 0.0f, 1.0f};
    // The point a wavelength adjustment can keep in place: the new value of the last
    // adjustment; 0 at first and after another spectrum became current.
    float fixedPoint = 0.0f;

    // The unit of a freshly read spectrum, from the one its file declares or else from its
    // values: format code, unit texts of the spectrum, the diagram's axis labels.
    void recogniseXFormat(SpectrumRecord& record);
    // Conversions of the spectrum at `position` (the current one, or the one being read,
    // which is not current yet) into nanometres. Each replaces the x values and maps the
    // found lines, resets the x shift and stretch, and is undoable on that spectrum's own
    // history, whose entry keeps the x values and lines it replaced. Refused changes leave
    // everything as it was.
    lumdb::XResult convertAngstrom(std::size_t position);
    lumdb::XResult convertWavenumbers(std::size_t position);
    // Wavelengths for pixel numbers (`calibration`), or the pixel numbers back (none). It
    // starts from the pixel numbers whatever calibration, shift and stretch the spectrum
    // carries.
    lumdb::XResult calibratePixels(std::size_t position,
                                   const std::optional<lumdb::PixelCalibration>& calibration);
    // The current spectrum shifted and stretched to `values` (record order: x shift, x
    // stretch, y shift, y stretch), undoable; the window's copy becomes `values`.
    lumdb::XResult applyScaling(const std::array<float, 4>& values);
    // Moves x value `from` of the current spectrum to `to`, undoable: by a shift, or with
    // `keepFixed` by a stretch about fixedPoint, which stays. Refused (Degenerate) when
    // fixedPoint equals `to` or `from`. `to` becomes the fixed point.
    lumdb::XResult adjustWavelength(float from, float to, bool keepFixed);
    // The x label and unit of the current spectrum as the wavelength dialog names them;
    // `pixels` for pixel numbers without a calibration.
    struct XNames {
        std::string label;
        std::string unit;
        bool pixels = false;
    };
    XNames xNames() const;
    // The pixel number of x value `x` of the current spectrum: back through its shift and
    // stretch and its calibration; none without a spectrum or when the maps have no inverse.
    std::optional<float> pixelOf(float x) const;

  private:
    void registerXAxisMessages();
    // Another spectrum became current: the scaling values are its own, no fixed point.
    void followCurrentSpectrum();
    std::string scalingText() const;
    void fitXRange();
    lumdb::XResult changeX(std::size_t position,
                           const std::function<lumdb::XResult(SpectrumRecord&, int*)>& change);
    lumdb::XResult mapCurrent(const std::array<float, 4>& next);
    void showXTexts(SpectrumRecord& record, bool labels);
    void registerLineMessages();
    std::string lineUndoText(unsigned message) const;
    void clearSelection();
    void applyRange(const std::array<float, 4>& range);

    OverlayTable overlays_;
    SPlotInfo plot_;
    MessageRegistry messages_;
    int selectedLine_ = -1;
};
