// The scene: every body of the model, the date their positions are computed for, and every
// view setting; it recomputes on date and centre changes and paints the whole picture on any
// drawing surface.
//
// No setter repaints: the caller asks for a repaint when it has changed what it wanted.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "model/astronomical_objects.h"
#include "model/object_lists.h"
#include "numerics/extended.h"
#include "numerics/julian_dates.h"
#include "numerics/matrices.h"
#include "scene/drawing_primitives.h"
#include "scene/full_list_positions.h"
#include "scene/surface.h"

namespace kestrova {

// The projection. A damaged document can leave any value 0..255 here.
enum class TPlane : uint8_t { XY = 0, XZ = 1, ZY = 2, D3 = 3 };

// Index 9 of the body numbers: the Sun, wherever a body is chosen by number.
inline constexpr int32_t kSunIndex = 9;
inline constexpr int kObjectColorCount = 13;
// ObjectColors indices of the two kinds coloured as a whole.
inline constexpr int kMinorBodyColorIndex = 11;
inline constexpr int kSatelliteColorIndex = 12;
inline constexpr TColor kDefaultSatelliteColor = 0x008080;

// A property value as the form resource and the documents set and read it by name: Booleans,
// integers (colours, GridMode, Plane, CenterObject, Left, Top, Width, Height) and Floats (Dim,
// the angles in degrees).
using TPropertyValue = std::variant<bool, int32_t, Extended>;

class TSolarSystem {
 public:
  // The nine planets and 22 satellites at `date`, computed once. The scene never reads the
  // clock: the program's entry points pass the present moment.
  explicit TSolarSystem(const TDateRec& date);
  TSolarSystem(const TSolarSystem&) = delete;
  TSolarSystem& operator=(const TSolarSystem&) = delete;

  // ---- Properties -------------------------------------------------------------------------
  // The rectangle the window last showed the scene in, kept for the documents only: painting
  // and projecting use the viewport they are given. Width and Height change only with
  // SetShownArea.
  int32_t Left() const { return shown_.Left; }
  int32_t Top() const { return shown_.Top; }
  void SetLeft(int32_t v) { shown_.Left = v; }
  void SetTop(int32_t v) { shown_.Top = v; }
  int32_t Width() const { return shown_.Width; }
  int32_t Height() const { return shown_.Height; }
  void SetShownArea(const TRect& rect) { shown_ = rect; }

  // Half the width of the shown area, AU. Values outside 0.001..100 (or no number) are
  // ignored; otherwise GridStep and the bounds follow.
  Extended Dim() const { return dim_; }
  void SetDim(Extended x);
  Extended GridStep() const { return grid_step_; }
  Extended XMin() const { return x_min_; }
  Extended YMin() const { return y_min_; }
  Extended XMax() const { return x_max_; }
  Extended YMax() const { return y_max_; }

  // 0..8 a planet, 9 the Sun. Other values are ignored; a stored value recomputes.
  int32_t CenterObject() const { return center_object_; }
  void SetCenterObject(int32_t index);
  // Heliocentric position of the centre body, AU.
  const TVector& CenterPos() const { return center_pos_; }

  // View rotation angles in degrees (held in radians). Setting one rebuilds ViewMatrix; a
  // value that is no finite number is ignored.
  Extended RotX() const;
  Extended RotY() const;
  Extended RotZ() const;
  void SetRotX(Extended degrees);
  void SetRotY(Extended degrees);
  void SetRotZ(Extended degrees);
  // Rx * Ry * Rz: a model point turns first about Z, then Y, then X.
  const TMatrix& ViewMatrix() const { return view_matrix_; }

  TPlane Plane() const { return plane_; }
  void SetPlane(TPlane plane) { plane_ = plane; }

  bool ShowOrbits() const { return show_orbits_; }
  bool ShowNames() const { return show_names_; }
  bool ShowSun() const { return show_sun_; }
  bool ShowRotAxis() const { return show_rot_axis_; }
  bool ShowRotation() const { return show_rotation_; }
  bool ShowPerpendiculars() const { return show_perpendiculars_; }
  bool ShowApsides() const { return show_apsides_; }
  bool ShowLineOfNodes() const { return show_line_of_nodes_; }
  bool ShowDirections() const { return show_directions_; }
  bool ShowSatellites() const { return show_satellites_; }
  void SetShowOrbits(bool v) { show_orbits_ = v; }
  void SetShowNames(bool v) { show_names_ = v; }
  void SetShowSun(bool v) { show_sun_ = v; }
  void SetShowRotAxis(bool v) { show_rot_axis_ = v; }
  void SetShowRotation(bool v) { show_rotation_ = v; }
  void SetShowPerpendiculars(bool v) { show_perpendiculars_ = v; }
  void SetShowApsides(bool v) { show_apsides_ = v; }
  void SetShowLineOfNodes(bool v) { show_line_of_nodes_ = v; }
  void SetShowDirections(bool v) { show_directions_ = v; }
  void SetShowSatellites(bool v) { show_satellites_ = v; }

  // 0 none, 1 radial rings, 2 rectangular grid.
  int32_t GridMode() const { return grid_mode_; }
  void SetGridMode(int32_t v) { grid_mode_ = v; }

  TColor GridColor() const { return grid_color_; }
  TColor BgColor() const { return bg_color_; }
  TColor SunColor() const { return sun_color_; }
  TColor AxesColor() const { return axes_color_; }
  TColor PerpendicularColor() const { return perpendicular_color_; }
  void SetGridColor(TColor c) { grid_color_ = c; }
  void SetBgColor(TColor c) { bg_color_ = c; }
  void SetSunColor(TColor c) { sun_color_ = c; }
  void SetAxesColor(TColor c) { axes_color_ = c; }
  void SetPerpendicularColor(TColor c) { perpendicular_color_ = c; }

  // The lists are changed in place by the main window, the dialogs and the documents.
  TOEObjectList& PlanetsList() { return planets_; }
  TOEObjectList& AsteroidsList() { return asteroids_; }
  TFullList& AsteroidsFullList() { return asteroids_full_; }
  TDirectionList& DirectionList() { return directions_; }
  const TOEObjectList& PlanetsList() const { return planets_; }
  const TOEObjectList& AsteroidsList() const { return asteroids_; }
  const TFullList& AsteroidsFullList() const { return asteroids_full_; }
  const TDirectionList& DirectionList() const { return directions_; }
  // Planet 0..8 of PlanetsList; raises EListError outside.
  TPlanet& Planet(int32_t index);
  const TPlanet& Planet(int32_t index) const;

  const TDateRec& SceneDate() const { return scene_date_; }
  // Minor bodies may be shown for SceneDate (years 1950 to 2050); set only by SetDate.
  bool CanShowObjects() const { return can_show_objects_; }

  // Properties by name, for the form resource and the documents. An unknown name raises
  // EKestrovaError; a value of the wrong kind, or setting a read-only property, raises the
  // stream's EInvalidValue. Integers are accepted for Float properties.
  void SetProperty(const std::string& name, const TPropertyValue& value);
  TPropertyValue GetProperty(const std::string& name) const;

  // ---- Operations -------------------------------------------------------------------------
  // The whole record becomes SceneDate; CanShowObjects follows; then Recompute.
  void SetDate(const TDateRec& date);
  // Every body for SceneDate (planets with their satellites, picked minor bodies, data-file
  // bodies), then CenterPos. The data-file bodies are computed in one batch (see
  // TFullListPositions), and only when the date or the list has changed since.
  void Recompute();

  // index 0..12: 0..8 also recolours the planet, 11 every minor body, 12 every satellite;
  // 9 and 10 are only stored. Other indices are ignored (GetObjectColor gives 0).
  void SetObjectColor(int index, TColor color);
  TColor GetObjectColor(int index) const;

  // Distances in AU.
  Extended DistanceFromCenter(const TVector& v) const;
  Extended DistanceFromSun(const TVector& v) const;
  // Angle (radians) between the Sun and v seen from the centre body; -99 when undefined
  // (the centre is the Sun, or v is the centre body).
  Extended ElongationAtCenter(const TVector& v) const;

  // Draws the whole scene inside the viewport's rectangle, on a surface borrowed for this call
  // only; the clip region stays on it.
  void Paint(TSurface& surface, const TViewport& viewport);

  // Called by Repaint: the window showing the scene asks for a new paint event here.
  void SetRepaintHook(std::function<void()> hook) { repaint_hook_ = std::move(hook); }
  // The repaint hook when one is set; nothing otherwise (no window shows the scene).
  void Repaint();

  // ---- Projection and drawing primitives --------------------------------------------------

  // Pixel of a heliocentric ecliptic point (AU) in the current plane: the square +-Dim around
  // CenterPos stretched over the viewport's rectangle, rows growing downwards. Points off the
  // rectangle get pixels off it (kept within +-1e9 so that callers can add radii safely).
  TPoint Project(const TVector& p, const TViewport& viewport) const;
  // Whether a point is drawn at all at the current zoom: not beyond 5 Dim from the centre,
  // and not within 0.03 Dim of the Sun unless it is the centre body or the Sun itself.
  bool IsInRange(const TVector& p) const;
  // A straight segment between the projections of a and b in `color` (pen and brush), with a
  // DotRadius disc at either end on request. The pen style is the caller's.
  void DrawLine3D(TSurface& surface, const TViewport& viewport, const TVector& a, const TVector& b,
                  TColor color, bool dotAtStart, bool dotAtEnd);
  // A circular arc of `radius` AU around `center` in the plane perpendicular to `axis`, from
  // startDeg to endDeg in whole degrees, counter-clockwise seen from the tip of axis. Nothing
  // for startDeg >= endDeg or an axis shorter than 1e-8.
  void DrawArc3D(TSurface& surface, const TViewport& viewport, const TVector& center,
                 Extended radius, const TVector& axis, int32_t startDeg, int32_t endDeg,
                 TColor color, bool dotAtStart, bool dotAtEnd);
  // The Sun with its rotation arc, axis and name: the last step of the bodies pass.
  void DrawSun(TSurface& surface, const TViewport& viewport);

 private:
  // The surface and viewport of the drawing in progress. A frame lives only as long as the
  // public call that draws (Paint or one primitive); between calls the scene holds none.
  struct TFrame {
    TSurface& Surface;
    TViewport View;
  };
  class TFrameScope;
  class TPixelProjection;
  TSurface& Surf() const { return frame_->Surface; }
  const TViewport& View() const { return frame_->View; }
  TPoint Project(const TVector& p) const { return Project(p, frame_->View); }
  void DrawLine3D(const TVector& a, const TVector& b, TColor color, bool dotAtStart, bool dotAtEnd);
  void DrawArc3D(const TVector& center, Extended radius, const TVector& axis, int32_t startDeg,
                 int32_t endDeg, TColor color, bool dotAtStart, bool dotAtEnd);
  void DrawSun();

  void RebuildViewMatrix();

  // The drawing passes, in Paint's order.
  void DrawBackground();
  void DrawOrbitPass();
  void DrawBodiesPass();
  void DrawUserLine(const TDirection& line);

  // Orbit pass: orbits of the planets and the picked minor bodies with their markings.
  void WarmPickedRings() const;
  void DrawPerpendiculars(const TOrbitalObject& body);
  void DrawOrbit(const TOrbitalObject& body);
  void DrawApsides(const TOrbitalObject& body);
  void DrawLineOfNodes(const TOrbitalObject& body);
  // One apsis: its label text and a disc in colour c around the projection of p.
  void DrawApsisMark(const TVector& p, const std::string& label, TColor c);

  // Minor bodies: the picked ones as small discs, the data file's crowd as pixels. Over a dense
  // crowd a picked body is ringed and named in a contrasting colour.
  void DrawMinorBody(const TOEObject& body, bool overDenseCrowd = false);
  // The pixel pattern of every body of the full list in range and inside the rectangle:
  // written straight into the surface's memory where it has some, else gathered into crowd_
  // and, on several cores, crowd_parts_, in the list's order, and set from there. Returns how
  // many bodies were plotted.
  size_t PlotObjectPixels();
  // The pixels of bodies begin..end-1 of the full list, appended to out; reads the scene only.
  void GatherObjectPixels(size_t begin, size_t end, std::vector<TPixel>& out) const;
  // The pixels of bodies begin..end-1 of the full list written into rows; reads the scene only
  // and writes nothing but the pixels. Returns how many bodies were plotted.
  size_t WriteObjectPixels(size_t begin, size_t end, const TPixelRows& rows) const;

  // Bodies pass: planets with their markings, satellites with their own orbits.
  void DrawPlanet(const TPlanet& planet);
  void DrawSatellite(const TSatellite& sat);
  // A body's disc of radius r at pt in its scheme colour, leaving that colour for its label
  // and the brush hollow; then, when asked, the label beside the disc.
  void DrawBodyDisc(const TPoint& pt, int32_t r, TColor color);
  void DrawBodyLabel(const TPoint& pt, int32_t r, const std::string& label);
  void DrawSatelliteOrbit(const TSatellite& sat);
  void DrawSatellitePerpendiculars(const TSatellite& sat);
  void DrawSatelliteApsides(const TSatellite& sat);
  void DrawSatelliteLineOfNodes(const TSatellite& sat);

  const TRect& DrawingRect() const { return frame_->View.Rect; }
  // The colour a marking (grid, axes, perpendiculars) is drawn in: its scheme colour, or the
  // complement of the background where the two are the same, so that a ticked marking never
  // vanishes into the background (the default axes are black on the default black). The
  // stored colour stays as it is.
  TColor MarkingColor(TColor configured) const;

  TRect shown_{0, 0, 500, 500};
  const TFrame* frame_ = nullptr;
  std::function<void()> repaint_hook_;

  Extended dim_ = 2;
  Extended x_min_ = -2;
  Extended y_min_ = -2;
  Extended x_max_ = 2;
  Extended y_max_ = 2;
  Extended grid_step_ = 0.5L;
  TMatrix view_matrix_;
  Extended rot_x_ = 0;  // radians
  Extended rot_y_ = 0;
  Extended rot_z_ = 0;
  TPlane plane_ = TPlane::D3;

  TOEObjectList planets_;
  TOEObjectList asteroids_;
  TFullList asteroids_full_;
  TFullListPositions full_positions_;
  TDirectionList directions_;

  TDateRec scene_date_;
  bool can_show_objects_ = false;
  int32_t center_object_ = kSunIndex;
  TVector center_pos_;

  bool show_orbits_ = true;
  bool show_names_ = true;
  bool show_sun_ = true;
  bool show_directions_ = true;
  bool show_satellites_ = true;
  bool show_rot_axis_ = false;
  bool show_rotation_ = false;
  bool show_perpendiculars_ = false;
  bool show_apsides_ = false;
  bool show_line_of_nodes_ = false;
  int32_t grid_mode_ = 2;
  TColor grid_color_ = 0x505050;
  TColor bg_color_ = 0x000000;
  TColor sun_color_ = 0x00FFFF;
  TColor axes_color_ = 0x000000;
  TColor perpendicular_color_ = 0x505050;
  std::array<TColor, kObjectColorCount> object_colors_;
  // The pixels of the data file's bodies, gathered for one SetPixels call; kept between paints
  // so that its memory is reused.
  std::vector<TPixel> crowd_;
  // The pixels of the full list's shares after the first, for PlotObjectPixels.
  std::vector<std::vector<TPixel>> crowd_parts_;
};

}  // namespace kestrova
