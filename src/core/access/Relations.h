#pragma once

#include "store/TableDef.h"

#include <QVector>

namespace srk {

// One link by value from a parent table to a child table, and what happens to the children when the
// parent is deleted or its linking value changes. The record store enforces none of this.
struct Relation {
    enum Action { None, Cascade, Restrict };

    const TableDef* parent = nullptr;
    int parentField = -1;
    const TableDef* child = nullptr;
    int childKey = -1; // its first component is childField
    int childField = -1;
    Action onDelete = None;
    Action onUpdate = None;
    // On delete only: a child belongs to the parent while this field of it is 0 or holds the parent's
    // ownerParentField; a child another parent owns stays. -1: every match belongs.
    int childOwnerField = -1;
    int ownerParentField = -1;
};

// The relations in which def is the parent, in the order the routines carry them out.
// Labels, Fonts, AddWizard and PlaylistDetails have none. A_Songs is the song file seen by file number:
// its rows are songs and keep the songs' playlist restriction.
QVector<Relation> relationsOf(const TableDef& def);

// def and every table its delete or update routine reaches, def first.
QVector<const TableDef*> tablesReachedFrom(const TableDef& def);

} // namespace srk
