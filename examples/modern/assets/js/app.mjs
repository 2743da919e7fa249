// Loads the pictures of the gallery when they come into view and marks the page as
// scripted. Imports resolve against this file, as a browser resolves them.
import { swapLazyImages } from "./util.mjs";

const searchIndex = new URL("../data/search.json", import.meta.url);

document.documentElement.classList.add("js");
swapLazyImages(document.querySelectorAll("img.lazy"));
document.body.dataset.searchIndex = searchIndex.href;
