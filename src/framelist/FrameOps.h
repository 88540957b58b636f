#pragma once

#include "spine/Editor.h"

namespace vemurion {

// Moves frames index .. FrameCount-1, pictures and display times, one place up, leaving a gap
// at `index`, and counts one frame more.
void openFrameGap(AnimationDocument& doc, int index);
// Moves the frames after `index` one place down over it and counts one frame less; the append
// slot's cell and time come down too.
void closeFrameGap(AnimationDocument& doc, int index);
enum class ListScroll { ToFrame, Keep };

// After the frame count changed: the scroll range, the list scrolled to frame `index` (or left
// where it is), and that frame made current as a click on its slot does. A frame left out of
// view is current all the same, without the list cursor.
void showFrameList(Editor& e, int index, ListScroll scroll = ListScroll::ToFrame);

// Inserts a frame of display time `time` and picture `picture` in front of the current frame
// (at the end when the append slot is current) and makes it current. Undo takes it out again.
void InsertFrameAt(Editor& e, int time, const Raster& picture,
                   ListScroll scroll = ListScroll::ToFrame);
// Removes the current frame, which must be a real frame; the one after it becomes current.
// Undo puts it back.
void RemoveCurrentFrame(Editor& e);

// The frame commands act on the current frame and do nothing while an animation plays.

// A blank frame (background colour, display time 1) in front of the current frame.
void newFrame(Editor& e);
// Replaces the clipboard's content with frame `index` and its display time.
void CopyFrameToClipboard(Editor& e, int index);
void copyFrame(Editor& e);
// Copies the current frame, then removes it. Only a real frame of a list of two or more.
void cutFrame(Editor& e);
// Asks for confirmation, then removes the current frame. Only a real frame of a list of two or
// more; the clipboard is not touched.
void deleteFrame(Editor& e);
// Inserts the clipboard's frame, or its picture, in front of the current frame. A picture that
// is not a 48 x 32 black-and-white fit goes to the conversion dialog, which inserts the frame
// itself.
void PasteFrame(Editor& e);

// Moves the current frame `step` places (-1 earlier, +1 later) with its picture and display
// time; it stays current. At either end of the list, on the append slot and while playing it
// does nothing. The undo record follows the frames it names.
void moveCurrentFrame(Editor& e, int step);

// Display time `time` (1 to 255) for frames first .. last, indexes of real frames in either
// order. Sets Modified and refreshes the list as the up-downs do.
void setDisplayTimes(Editor& e, int first, int last, int time);
// Asks for the display time of frame `index`, a real frame, and sets it.
void typeDisplayTime(Editor& e, int index);
// The same for the frame that slot `slot` (0 to 4) shows, from a double-click on its time.
void typeSlotTime(Editor& e, int slot);
// Asks for a range of frames, the current one by default, and one display time for all of them.
void setDisplayTimesForRange(Editor& e);

// Makes frame `index` current as a click on its slot does, the list scrolled to show it: a real
// frame, or the append slot. Not while playing or during a gesture on the canvas.
void goToFrame(Editor& e, int index);

enum class FrameMenu { ImageList, Popup };
// Sets the frame items of `menu` as it opens: cut, copy and delete follow the current frame
// (none of them on the append slot), paste follows the clipboard and the frame count.
void frameMenuOpened(Editor& e, FrameMenu menu);

} // namespace vemurion
