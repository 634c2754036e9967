// Interim intro and title: they only set the state that play expects. The pictures, texts,
// jingles and the fading title with its prompt come with the presentation work.
#include "presentation/screens.h"
#include "world/world_model.h"

namespace tessera {

int32_t screen_picture = 0;
int32_t screen_picture_3d = 0;

void show_intro(int32_t /*mode*/) { menu_active = 1; }

void show_title_screen(int32_t /*mode*/) {
  menu_active = 1;
  game_mode = GAME_MODE_PLAY;
  menu_active = 0;
  map_number = 1;
}

}  // namespace tessera
