#pragma once
// TAB table access with a small C interface. Handles are opaque; a null handle
// means failure and is safe to pass back into every call (reads then yield
// nothing). Every table opened or created is closed with tabkit_c_close, every
// feature read or created is released with tabkit_c_destroy_feature.
//
// Features are numbered 1 to tabkit_c_get_feature_count in table order, whatever
// numbering the file itself uses.
//
// Field type codes:
//   1 character, 2 integer, 3 small integer, 4 decimal, 5 float, 6 date,
//   7 logical, 8 time, 9 date-time, 10 large integer; 0 for anything else.

#ifdef __cplusplus
extern "C" {
#endif

typedef struct TabKitTable TabKitTable;
typedef struct TabKitFeature TabKitFeature;

enum TabKitFieldType {
    TABKIT_FIELD_UNKNOWN = 0,
    TABKIT_FIELD_CHAR = 1,
    TABKIT_FIELD_INTEGER = 2,
    TABKIT_FIELD_SMALLINT = 3,
    TABKIT_FIELD_DECIMAL = 4,
    TABKIT_FIELD_FLOAT = 5,
    TABKIT_FIELD_DATE = 6,
    TABKIT_FIELD_LOGICAL = 7,
    TABKIT_FIELD_TIME = 8,
    TABKIT_FIELD_DATETIME = 9,
    TABKIT_FIELD_LARGEINT = 10,
};

// The type tabkit_c_get_type reports for a feature without geometry; -1 is
// reserved for a feature that cannot be read.
enum { TABKIT_GEOMETRY_NONE = 0, TABKIT_GEOMETRY_INVALID = -1 };

// Why the last call that failed here did so (GDAL's text, or the system's
// for a file that cannot be opened or replaced); "" when the last call of
// open, create, close, commit, read or write succeeded. Valid until the next
// call on this thread.
const char* tabkit_c_last_error(void);

// Opens an existing table; readOnly is always 1 in this program. A main or
// side file that is not a regular file (a FIFO, a device, a folder) is refused
// at once.
TabKitTable* tabkit_c_open(const char* fileName, int readOnly);

// Creates a table. format is the file extension of the wanted format ("tab");
// a file name that does not end in it (any case) gives null.
// projection 0 means none; the bounds are used only when they span an area.
// With replace set, an existing table of that name (and its side files) is
// replaced when the new one is closed, all its files or none of them. A name
// that is a symbolic link is written through to its target (side files beside
// the target), and the files replaced keep their permissions. An old table
// with a file of other hard links is refused: replacing it would split them.
// Termination signals wait from here to the close, so that no private file is
// left behind.
TabKitTable* tabkit_c_create(const char* fileName, const char* format, int projection,
                             double minX, double minY, double maxX, double maxY, int replace);

// Writes what is pending and frees the handle; 1 when everything was stored.
int tabkit_c_close(TabKitTable* table);

int tabkit_c_get_field_count(TabKitTable* table);
// Valid until the table is closed; null for an index out of range.
const char* tabkit_c_get_field_name(TabKitTable* table, int field);
// One of the codes above; -1 for an index out of range.
int tabkit_c_get_field_type(TabKitTable* table, int field);

int tabkit_c_get_feature_count(TabKitTable* table);
// -1 starts the walk; -1 comes back after the last feature.
int tabkit_c_next_feature_id(TabKitTable* table, int previousId);
// Null for an id outside 1..count.
TabKitFeature* tabkit_c_read_feature(TabKitTable* table, int id);
// The geometry type of a feature: TABKIT_GEOMETRY_NONE, a positive code for a
// geometry, or -1 for a null feature.
int tabkit_c_get_type(TabKitFeature* feature);
// The value as text ("" when unset, for a null feature or an index out of
// range). Valid until the feature is destroyed.
const char* tabkit_c_get_field_as_string(TabKitFeature* feature, int field);
void tabkit_c_destroy_feature(TabKitFeature* feature);

// Declares a field; only before tabkit_c_commit_fields. Returns 1 on success.
int tabkit_c_add_field(TabKitTable* table, const char* name, int type, int width, int precision,
                       int indexed, int unique);
// Creates the declared fields in the file, in the order declared.
int tabkit_c_commit_fields(TabKitTable* table);
// A new, empty feature for a table being written; geometryType 0 for none.
TabKitFeature* tabkit_c_create_feature(TabKitTable* table, int geometryType);
// Sets a field from text; numbers are parsed with '.' as decimal separator.
int tabkit_c_set_field(TabKitFeature* feature, int field, const char* text);
// Appends the feature to the table. Returns 1 on success.
int tabkit_c_write_feature(TabKitTable* table, TabKitFeature* feature);

#ifdef __cplusplus
}

#include <string>

// "path: reason" for messages about a table, or the path alone when the last
// call gave no reason.
inline std::string TabKitFailure(const std::string& path)
{
    const std::string reason = tabkit_c_last_error();
    return reason.empty() ? path : path + ": " + reason;
}
#endif
