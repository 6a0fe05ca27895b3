// Internal to the restart set: the set list that makes the eleven files one unit on disk.
//
// Beside the restart files the writer keeps "QR4TSET.TXT", a short text file that names the generation
// of the set (a count of the writes in this folder) and the length and CRC-32 of every file of it. A
// write puts each new file under a temporary name ("QR4TM1.RES.NEW"), flushes it to disk, and then
// writes the new list as the marker "QR4TSET.NEW" (whole or absent: it is written under a third name
// and renamed). Only then are the new files renamed over the old ones, and last the marker becomes
// the list. A stop before the marker exists leaves the old set; a stop after it leaves a marker whose
// files are all whole, and the reader finishes the renames before it reads. So the set on disk is
// always either the old one or the new one. The list also lets the reader refuse a file of another
// write that was put into the set, naming it.
#ifndef QR4T_APP_RESTART_RESTART_SET_H
#define QR4T_APP_RESTART_RESTART_SET_H

#include <cstdio>
#include <string>
#include <vector>

inline constexpr const char* SET_LIST_FILE = "QR4TSET.TXT";     // the list of the set on disk
inline constexpr const char* SET_MARKER_FILE = "QR4TSET.NEW";   // the list of a set being put in place
inline constexpr const char* SET_SCRATCH_FILE = "QR4TSET.TMP";  // the marker while it is written

// The temporary name of a restart file while a new set is written.
std::string restart_temporary_name(const char* name);

// Flushes a file being written to the disk itself (not only to the system's cache), so that a rename
// that follows cannot reach the disk before the data. False when the flush fails.
bool flush_to_disk(std::FILE* f);

// Puts the files just written under their temporary names in place as the new set (files: indices
// of RESTART_FILE_NAME). Stops the program with a message when a step fails.
void commit_restart_set(const std::vector<int>& files);

// Completes a set whose writing stopped after its marker was in place: the remaining renames are made.
// Nothing happens when there is no marker. Called before the set is read.
void finish_restart_set();

// Compares every file of the set that the reader will read (files) with the set list, and stops the
// program naming the first file whose length or contents differ from those listed: a file of another
// write. A folder without a list (a set written before lists were kept) is only noted in the log.
// With reading only and a pending set, the files are compared with the marker instead.
void check_restart_set(const std::vector<int>& files);

// Reading only (a tool that looks at a set and must not change the folder): finish_restart_set then
// renames nothing. A set whose writing was interrupted after its marker was in place is read as the
// marker lists it, each file under its temporary name where it still has one. Off by default.
void set_restart_read_only(bool on);

// The file that holds restart file `name` for the reader: the name itself, or with reading only the
// temporary name of a pending set's file that is not yet in place.
std::string restart_read_path(const char* name);

// Tests that write many sets switch the flush to the disk itself off (on by default): it makes a write
// safe against a power failure, which no test can show, and costs tens of milliseconds per file.
void set_restart_disk_flush(bool on);

// Test hook: called by commit_restart_set with the number of renames made so far: 0 when the new files
// and the marker's text are written, 1 when the marker is in place, 2 .. n + 1 after each of the n
// files, n + 2 when the marker has become the list. A hook that throws stands for a kill at that
// point. nullptr: no hook.
void set_restart_rename_hook(void (*hook)(int renamed));

#endif
