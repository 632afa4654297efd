/* Identifiers shared by the game's code and its resource script, as such headers are: C
   declarations beside the #defines, which the resource compiler skips. */
#ifndef GAME_IDS_H
#define GAME_IDS_H

#define IDR_GAME 46

#ifndef RC_INVOKED
struct Level {
  int width, height;
};
extern const char* level_name(int id);
#endif

#endif
