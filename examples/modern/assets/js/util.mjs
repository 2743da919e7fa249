// Swaps the late pictures in: data-src and data-srcset become src and srcset.
export function swapLazyImages(images) {
  for (const image of images) {
    if (image.dataset.srcset) image.srcset = image.dataset.srcset;
    if (image.dataset.src) image.src = image.dataset.src;
    if (image.dataset.original) image.src = image.dataset.original;
  }
}
