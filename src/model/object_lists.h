// The owning lists of the model (bodies, satellites of one planet, user-defined lines) and
// the document blocks the body list and the line list write and read.
//
// Every list owns its elements: removing or clearing frees them; references handed out by Get
// stay valid until the element is removed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ephemerides/kepler_batch.h"
#include "numerics/color.h"
#include "numerics/errors.h"
#include "numerics/extended.h"
#include "numerics/matrices.h"

namespace kestrova {

class TOEObject;
class TSatellite;
class ValueWriter;
class ValueReader;

// An index outside 0..Count-1: what a document that lists more satellites than a planet has
// ends with.
class EListError : public EKestrovaError {
 public:
  explicit EListError(int32_t index);
};

// An ordered, 0-based list that owns its elements; insertion order is drawing order.
template <class T>
class TOwningList {
 public:
  TOwningList();
  ~TOwningList();
  TOwningList(const TOwningList&) = delete;
  TOwningList& operator=(const TOwningList&) = delete;

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // Element i; raises EListError outside 0..Count-1.
  T& Get(int32_t i) const;
  // The elements in order, for loops over very long lists that cannot afford a checked call
  // per element.
  const std::vector<std::unique_ptr<T>>& Items() const { return items_; }
  // Appends; the list owns the element from then on. Returns it.
  T& Add(std::unique_ptr<T> item);
  // Frees element i and removes it; the later ones move up. Raises EListError outside
  // 0..Count-1.
  void Delete(int32_t i);
  // Frees every element, the last first.
  void Clear();
  // Counts the changes of the list's membership (adding, removing, clearing), so that whoever
  // keeps something worked out from its elements can tell whether that is still the list's.
  uint64_t Changes() const { return changes_; }

 protected:
  std::vector<std::unique_ptr<T>> items_;
  uint64_t changes_ = 0;
};

extern template class TOwningList<TOEObject>;
extern template class TOwningList<TSatellite>;

// Planets and minor bodies (TPlanet, TAsteroid, plain TOEObject).
class TOEObjectList : public TOwningList<TOEObject> {
 public:
  // Frees and removes every element named exactly name, the last first.
  void RemoveByName(const std::string& name);
  // Calculate(jd) of each element, in list order.
  void CalculateAll(Extended jd);

  // The object list block (Integer N, then N object blocks) in the current form.
  void WriteList(ValueWriter& writer) const;
  // Replace the contents from an object list block of the current, 1.5 or 1.0 form. A stored
  // planet (Id 0..8) comes back as the standard planet with the stored colour, a minor body
  // (Id 11) as a visible TAsteroid at zero position; other Ids are read and dropped. On a
  // stream error the list keeps the elements read so far.
  void ReadList(ValueReader& reader);
  void ReadList15(ValueReader& reader);
  void ReadList10(ValueReader& reader);

 private:
  enum class BlockForm { Current, V15, V10 };
  void ReadAny(ValueReader& reader, BlockForm form);
};

// The bodies of a whole data file ("Show all objects", 1.4 million for the whole catalogue),
// which are only ever drawn as single pixels in one colour. A body is no object of its own:
// per body only its orbit laid out for the batch and its last position are held, column by
// column, about a hundred bytes; its name and record stay in the data file.
class TFullList {
 public:
  int32_t Count() const { return static_cast<int32_t>(pos_.size()); }
  // Room for n bodies in all, so that a catalogue of known size is laid out without copies.
  void Reserve(size_t n);
  // Appends a body on these elements, at the Sun until its position is computed.
  void Add(const TOrbitalElements& elements);
  // Removes every body and gives their memory back.
  void Clear();
  // Counts the changes of the list's membership, as TOwningList::Changes does.
  uint64_t Changes() const { return changes_; }

  // The colour every body is drawn in (mapped through the colour scheme).
  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }

  // The orbits, in the order of the bodies.
  const TKeplerBatch& Orbits() const { return orbits_; }
  // Position of body i (heliocentric ecliptic, AU) as last computed; i is not checked.
  const TVectorD& Pos(int32_t i) const { return pos_[static_cast<size_t>(i)]; }
  // Every position in body order, for whoever computes them (or places bodies in a test).
  TVectorD* Positions() { return pos_.data(); }
  const TVectorD* Positions() const { return pos_.data(); }

 private:
  TKeplerBatch orbits_;
  std::vector<TVectorD> pos_;
  TColor color_ = 0;
  uint64_t changes_ = 0;
};

// The satellites of one planet. It has no block of its own: the scene block stores their
// visibility and colour.
class TSatelliteList : public TOwningList<TSatellite> {};

// A user-defined straight line from one body to another: 0..8 a planet by index, 9 the Sun.
class TDirection {
 public:
  TDirection(int32_t fromId, TColor color, int32_t toId)
      : FromId(fromId), ToId(toId), Color(color) {}

  void Assign(const TDirection& other);
  // One line block: Integer FromId, Integer ToId, Integer Color, Boolean Visible.
  void WriteLine(ValueWriter& writer) const;
  void ReadLine(ValueReader& reader);

  bool Visible = true;
  int32_t FromId;
  int32_t ToId;
  // Used in every colour scheme.
  TColor Color;
};

extern template class TOwningList<TDirection>;

class TDirectionList : public TOwningList<TDirection> {
 public:
  // Replaces the contents by visible copies of other's lines (ends and colour), whatever the
  // source lines' Visible; other may be this list itself.
  void AssignList(const TDirectionList& other);
  // The line list block: Integer N, then N line blocks.
  void WriteList(ValueWriter& writer) const;
  // Replaces the contents; on a stream error the list keeps the lines read so far.
  void ReadList(ValueReader& reader);
};

}  // namespace kestrova
