// The least a game can do: open a 640 x 480 window with SDL, present one frame through a
// streaming texture as the game does, and wait to be closed. The start-up benchmark compares
// the game against this.
#include <SDL.h>

#include <vector>

int main() {
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) != 0) return 1;
  SDL_Window* window = SDL_CreateWindow("Bare", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                        640, 480, SDL_WINDOW_RESIZABLE);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
  SDL_Texture* texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_BGR24,
                                                      SDL_TEXTUREACCESS_STREAMING, 640, 480)
                                  : nullptr;
  if (texture == nullptr) return 1;
  std::vector<unsigned char> picture(640 * 480 * 3, 128);
  SDL_UpdateTexture(texture, nullptr, picture.data(), 640 * 3);
  SDL_RenderCopy(renderer, texture, nullptr, nullptr);
  SDL_RenderPresent(renderer);
  for (SDL_Event event; SDL_WaitEvent(&event) && event.type != SDL_QUIT;) {
  }
  SDL_DestroyTexture(texture);
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
